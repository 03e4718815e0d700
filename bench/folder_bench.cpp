// Unpacking the largest sample into a folder and packing it again, beside writing and reading the
// same number of files of the same sizes with plain file calls.

#include "folder/folderfiles.h"
#include "folder/packstyle.h"
#include "folder/unpackstyle.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "platform/prompts.h"
#include "sample/samplestyle.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"

#include "timesreporter.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <string_view>
#include <vector>

namespace {

struct Large {
    QByteArray file;
    StyleDocument doc;
    FolderFiles folder;
};

const Large &large() {
    static const Large l = [] {
        Large made;
        StyleDocument saved;
        SilentProgress progress;
        LineLog log;
        DecliningPrompts prompts;
        made.file = serializeStyle(makeLargeSampleStyle(), saved, progress, log);
        readStyle(made.doc, made.file, prompts, progress, log);
        made.folder = unpackStyle(made.doc, made.file, std::nullopt);
        return made;
    }();
    return l;
}

Progress &quiet() {
    static SilentProgress progress;
    return progress;
}

// The unpacked folder on disk, for the reading measures.
const QString &unpackedFolder() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString folder = dir.filePath(QStringLiteral("large"));
        writeFolder(
            [](const FileSink &files) {
                for (const auto &[name, bytes] : large().folder)
                    files(name, bytes);
            },
            folder, quiet());
        return folder;
    }();
    return path;
}

// Each round's folder is removed outside the timing, so that both writing measures meet a file
// system in the same state rather than one growing with every round.
void removeRound(benchmark::State &state, const QString &folder) {
    state.PauseTiming();
    QDir(folder).removeRecursively();
    state.ResumeTiming();
}

void writePlainFiles(benchmark::State &state) {
    QTemporaryDir dir;
    int round = 0;
    for (auto _ : state) {
        const QString folder = dir.filePath(QString::number(round++));
        QDir root(folder);
        QSet<QString> made;
        for (const auto &[name, bytes] : large().folder) {
            const QString path = root.filePath(name);
            const QString folder = QFileInfo(path).path();
            if (!made.contains(folder)) {
                QDir().mkpath(folder);
                made.insert(folder);
            }
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                state.SkipWithError("cannot write");
        }
        removeRound(state, folder);
    }
}

void unpack(benchmark::State &state) {
    QTemporaryDir dir;
    int round = 0;
    for (auto _ : state) {
        const QString folder = dir.filePath(QString::number(round++));
        writeFolder(
            [](const FileSink &files) { unpackStyle(large().doc, large().file, std::nullopt, files); },
            folder, quiet());
        removeRound(state, folder);
    }
}

// The files alone, in memory: what unpack spends besides writing.
void unpackInMemory(benchmark::State &state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(unpackStyle(large().doc, large().file, std::nullopt).size());
}

void readPlainFiles(benchmark::State &state) {
    const QDir root(unpackedFolder());
    for (auto _ : state)
        for (const auto &[name, bytes] : large().folder) {
            QFile file(root.filePath(name));
            if (!file.open(QIODevice::ReadOnly) || file.readAll().size() != bytes.size())
                state.SkipWithError("cannot read");
        }
}

// The unpacked folder brought in step with the file it came from: every file read and compared,
// none written. The first update records what the folder's files were made from, as unpack does
// when it writes a folder itself.
void updateUnchanged(benchmark::State &state) {
    const auto update = [] {
        return updateFolder(
            [](const FileSink &files) { unpackStyle(large().doc, large().file, std::nullopt, files); },
            unpackedFolder(), quiet());
    };
    update();
    for (auto _ : state)
        if (update().written != 0)
            state.SkipWithError("the unchanged folder was written to");
}

void pack(benchmark::State &state) {
    DecliningPrompts prompts;
    LineLog log;
    for (auto _ : state)
        if (packStyle(diskFolder(unpackedFolder()), false, prompts, log).size() != large().file.size())
            state.SkipWithError("the packed file differs in size");
}

void printRatios(const TimesReporter &reporter) {
    const std::string files = std::to_string(large().folder.size()) + " files";
    printRow("unpack the largest style file (" + files + ")",
             reporter.seconds("unpack") / reporter.seconds("write"), "writing " + files + " of those sizes",
             duration(reporter.seconds("unpack")), "within 1.3 x");
    printRow("of which making the files in memory",
             reporter.seconds("unpack_in_memory") / reporter.seconds("write"),
             "writing " + files + " of those sizes", duration(reporter.seconds("unpack_in_memory")), "-");
    printRow("unpack --update of that folder unchanged",
             reporter.seconds("update_unchanged") / reporter.seconds("read"),
             "reading " + files + " of those sizes", duration(reporter.seconds("update_unchanged")),
             "within 1.3 x");
    printRow("pack that folder again", reporter.seconds("pack") / reporter.seconds("read"),
             "reading " + files + " of those sizes", duration(reporter.seconds("pack")), "under 1 s");
}

} // namespace

int main(int argc, char **argv) {
    // The caches of the measured folders go to a folder of this run, not to the user's.
    const QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    // Made before any measure runs: each takes about a second, so it runs only a few times and
    // the first of them would otherwise carry the sample's making.
    large();
    // Creating a file costs this machine's file system anything from 20 us to 350 us, depending on
    // how many files were removed near it in the last minutes (ext4 without a journal steps over
    // recently freed inodes one by one). The repetitions of the measures are taken in random order,
    // so that the writing measures compared meet the file system in the same states.
    std::vector<char *> args(argv, argv + argc);
    char interleaved[] = "--benchmark_enable_random_interleaving=true";
    if (std::none_of(args.begin(), args.end(), [](const char *arg) {
            return std::string_view(arg).starts_with("--benchmark_enable_random_interleaving");
        }))
        args.insert(args.begin() + 1, interleaved);
    int count = int(args.size());
    args.push_back(nullptr);
    return runBenchmarks(count, args.data(),
                         {{"write", writePlainFiles, benchmark::kMillisecond},
                          {"unpack", unpack, benchmark::kMillisecond},
                          {"unpack_in_memory", unpackInMemory, benchmark::kMillisecond},
                          {"read", readPlainFiles, benchmark::kMillisecond},
                          {"update_unchanged", updateUnchanged, benchmark::kMillisecond},
                          {"pack", pack, benchmark::kMillisecond}},
                         printRatios);
}
