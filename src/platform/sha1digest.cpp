#include "platform/sha1digest.h"

#include <algorithm>
#include <cpuid.h>
#include <cstring>
#include <immintrin.h>

namespace {

bool hasShaInstructions() {
    static const bool has = [] {
        unsigned a = 0, b = 0, c = 0, d = 0;
        if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_SSE4_1) || !(c & bit_SSSE3))
            return false;
        return __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & bit_SHA);
    }();
    return has;
}

// The rounds 4 * group to 4 * group + 3 of SHA-1; the round function is an immediate operand.
__attribute__((target("sha,sse4.1"))) __m128i fourRounds(__m128i abcd, __m128i e, int group) {
    switch (group / 5) {
    case 0:
        return _mm_sha1rnds4_epu32(abcd, e, 0);
    case 1:
        return _mm_sha1rnds4_epu32(abcd, e, 1);
    case 2:
        return _mm_sha1rnds4_epu32(abcd, e, 2);
    default:
        return _mm_sha1rnds4_epu32(abcd, e, 3);
    }
}

// Runs the 64-byte blocks at `data` through the state. The instructions keep a, b, c and d in one
// register, a in the highest lane, and e in the highest lane of another; the message words are
// loaded big-endian with the first in the highest lane.
__attribute__((target("sha,sse4.1"))) void shaBlocks(std::array<quint32, 5> &state, const uchar *data,
                                                     qsizetype blocks) {
    const __m128i wordOrder = _mm_set_epi64x(0x0001020304050607LL, 0x08090a0b0c0d0e0fLL);
    __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(state.data())), 0x1B);
    __m128i e0 = _mm_set_epi32(int(state[4]), 0, 0, 0);
    for (; blocks > 0; --blocks, data += 64) {
        const __m128i abcdBefore = abcd, eBefore = e0;
        // Four words of the message schedule per group of four rounds, the last four groups kept.
        __m128i w[4];
        for (int i = 0; i < 4; ++i)
            w[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(data + 16 * i)),
                                    wordOrder);
        __m128i previous = abcd;
        abcd = fourRounds(abcd, _mm_add_epi32(e0, w[0]), 0);
#pragma GCC unroll 19
        for (int group = 1; group < 20; ++group) {
            __m128i &words = w[group % 4];
            if (group >= 4)
                words = _mm_sha1msg2_epu32(
                    _mm_xor_si128(_mm_sha1msg1_epu32(words, w[(group + 1) % 4]), w[(group + 2) % 4]),
                    w[(group + 3) % 4]);
            const __m128i e = _mm_sha1nexte_epu32(previous, words);
            previous = abcd;
            abcd = fourRounds(abcd, e, group);
        }
        e0 = _mm_sha1nexte_epu32(previous, eBefore);
        abcd = _mm_add_epi32(abcd, abcdBefore);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i *>(state.data()), _mm_shuffle_epi32(abcd, 0x1B));
    state[4] = quint32(_mm_extract_epi32(e0, 3));
}

} // namespace

Sha1Digest::Sha1Digest() {
    if (!hasShaInstructions())
        portable_.emplace(QCryptographicHash::Sha1);
}

void Sha1Digest::addData(QByteArrayView bytes) {
    if (portable_) {
        portable_->addData(bytes);
        return;
    }
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    qsizetype size = bytes.size();
    if (size == 0)
        return;
    length_ += quint64(size);
    if (filled_ > 0) {
        const qsizetype part = std::min(size, qsizetype(block_.size()) - filled_);
        std::memcpy(block_.data() + filled_, data, std::size_t(part));
        filled_ += part;
        data += part;
        size -= part;
        if (filled_ < qsizetype(block_.size()))
            return;
        shaBlocks(state_, block_.data(), 1);
        filled_ = 0;
    }
    const qsizetype whole = size / 64;
    shaBlocks(state_, data, whole);
    data += whole * 64;
    size -= whole * 64;
    if (size > 0)
        std::memcpy(block_.data(), data, std::size_t(size));
    filled_ = size;
}

QByteArray Sha1Digest::result() {
    if (portable_)
        return portable_->result();
    // A one bit, zeros up to 8 bytes before a block's end, and the length in bits, big-endian.
    const quint64 bits = length_ * 8;
    const char one = char(0x80), zeros[64] = {};
    addData(QByteArrayView(&one, 1));
    addData(QByteArrayView(zeros, (64 + 56 - filled_) % 64));
    char length[8];
    for (int i = 0; i < 8; ++i)
        length[i] = char(bits >> (56 - 8 * i));
    addData(QByteArrayView(length, 8));
    QByteArray digest(20, Qt::Uninitialized);
    for (int i = 0; i < 20; ++i)
        digest[i] = char(state_[std::size_t(i / 4)] >> (24 - 8 * (i % 4)));
    return digest;
}
