#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <memory>

struct evp_md_ctx_st;

// The SHA-1 digest of bytes given piece by piece, made by OpenSSL, which uses the processor's SHA
// instructions where it has them: the megabytes of pixels of a style are digested on every unpack,
// several times as fast so as with the toolkit's own.
class Sha1Digest {
public:
    // Throws std::bad_alloc when the digest cannot be set up.
    Sha1Digest();
    ~Sha1Digest();
    Sha1Digest(const Sha1Digest &) = delete;
    Sha1Digest &operator=(const Sha1Digest &) = delete;

    void addData(QByteArrayView bytes);
    // The 20 bytes of the digest of all the bytes added; asked once, at the end.
    QByteArray result();

private:
    struct Free {
        void operator()(evp_md_ctx_st *context) const;
    };
    std::unique_ptr<evp_md_ctx_st, Free> context_;
};
