#include "platform/log.h"
#include "platform/progress.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"
#include "support/randomstyle.h"
#include "support/sanitizers.h"
#include "support/scriptedprompts.h"
#include "support/stylebytes.h"
#include "support/tempdir.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#ifdef VYR2_ASAN
#include <sanitizer/allocator_interface.h>
#endif

namespace {

// Bytes the heap holds for live allocations. AddressSanitizer keeps freed blocks in quarantine,
// so its resident size grows without a leak; its own count of live bytes does not.
qint64 liveHeapBytes() {
#ifdef VYR2_ASAN
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    return qint64(mallinfo2().uordblks);
#endif
}

qint64 residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : -1;
}

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Soak {
    SilentProgress progress;
    LineLog log;
    int refused = 0;
    int loaded = 0;
    int unsaveable = 0;

    // Saves the document, opens the file into a fresh document, saves that: the two files must
    // hold the same bytes.
    void roundTrip(const StyleDocument &generated, const QString &first, const QString &second,
                   QByteArray &saved) {
        ScriptedPrompts prompts;
        StyleDocument doc = generated;
        ASSERT_FALSE(writeStyle(doc, first, prompts, progress, log).isEmpty())
            << prompts.messages().join('\n').toStdString();
        StyleDocument opened;
        ASSERT_TRUE(opensty(opened, first, prompts, progress, log))
            << prompts.messages().join('\n').toStdString();
        ASSERT_FALSE(writeStyle(opened, second, prompts, progress, log).isEmpty());
        saved = fileBytes(first);
        const QByteArray resaved = fileBytes(second);
        ASSERT_EQ(firstDifference(saved, resaved), -1);
        EXPECT_TRUE(prompts.messages().isEmpty());
    }

    // A damaged file is refused with a message and the document stays as it was, or it loads and
    // what it loaded saves and reloads to the same bytes again.
    void damaged(const QByteArray &bytes, const StyleDocument &before) {
        ScriptedPrompts prompts;
        StyleDocument doc = before;
        if (!readStyle(doc, bytes, prompts, progress, log)) {
            ASSERT_EQ(prompts.messages().size(), 1);
            EXPECT_FALSE(prompts.messages().first().isEmpty());
            EXPECT_EQ(doc, before);
            ++refused;
            return;
        }
        EXPECT_TRUE(prompts.messages().isEmpty());
        StyleDocument saved;
        QByteArray once;
        try {
            once = serializeStyle(doc, saved, progress, log);
        } catch (const WriteFailure &failure) {
            // What the file held cannot be saved as it is (a damaged surface list, say); the
            // save names the reason and the chunk.
            EXPECT_FALSE(failure.text.isEmpty());
            EXPECT_FALSE(failure.tag.isEmpty());
            ++unsaveable;
            return;
        }
        ++loaded;
        StyleDocument reopened;
        ASSERT_TRUE(readStyle(reopened, once, prompts, progress, log));
        EXPECT_EQ(firstDifference(serializeStyle(reopened, saved, progress, log), once), -1);
    }
};

} // namespace

// 500 random valid files and 500 damaged ones in one process: every valid file comes back byte
// for byte, every damaged one is refused or loads consistently, and the heap does not grow.
TEST(StyleSoak, ThousandFilesOpenAndSaveWithoutGrowth) {
    constexpr int Rounds = 500;
    constexpr int MeasureAfter = 50; // 100 files
    TestDir dir;
    Soak soak;
    SampleRng rng(20261209);
    StyleDocument previous;
    qint64 heapAtStart = 0;
    qint64 residentAtStart = 0;
    QElapsedTimer timer;
    timer.start();
    for (int round = 0; round < Rounds; ++round) {
        SCOPED_TRACE(round);
        const StyleDocument generated = randomStyle(rng);
        QByteArray saved;
        soak.roundTrip(generated, dir.path(QStringLiteral("a.sty")), dir.path(QStringLiteral("b.sty")),
                       saved);
        if (HasFatalFailure())
            return;
        soak.damaged(damagedStyle(saved, rng), previous);
        if (HasFatalFailure())
            return;
        previous = generated;
        if (round + 1 == MeasureAfter) {
            heapAtStart = liveHeapBytes();
            residentAtStart = residentBytes();
        }
    }
    const qint64 heapGrowth = liveHeapBytes() - heapAtStart;
    const qint64 residentGrowth = residentBytes() - residentAtStart;
    RecordProperty("seconds", QString::number(timer.elapsed() / 1000.0, 'f', 1).toStdString());
    RecordProperty("heap_growth_bytes", QString::number(heapGrowth).toStdString());
    RecordProperty("resident_growth_bytes", QString::number(residentGrowth).toStdString());
    std::printf("%d files in %.1f s (damaged: %d refused, %d loaded, %d loaded but not saveable); after the "
                "first 100 the heap grew by %lld bytes, the resident size by %lld bytes\n",
                2 * Rounds, timer.elapsed() / 1000.0, soak.refused, soak.loaded, soak.unsaveable,
                static_cast<long long>(heapGrowth), static_cast<long long>(residentGrowth));
    // The damage reaches both outcomes often.
    EXPECT_GT(soak.refused, Rounds / 10);
    EXPECT_GT(soak.loaded, Rounds / 10);
    // The documents alive at the end are as large as those alive at the first measurement could be.
    EXPECT_LT(heapGrowth, 4 * 1024 * 1024);
#ifndef VYR2_ASAN
    EXPECT_LT(residentGrowth, 16 * 1024 * 1024);
#endif
}
