#include "platform/sha1digest.h"

#include <new>
#include <openssl/evp.h>

namespace {

// Fetched once: looking the algorithm up for every digest would cost more than a small picture's.
const EVP_MD *sha1() {
    static EVP_MD *const algorithm = EVP_MD_fetch(nullptr, "SHA1", nullptr);
    return algorithm;
}

// OpenSSL fails here only when it cannot have the memory it needs.
void require(bool done) {
    if (!done)
        throw std::bad_alloc();
}

} // namespace

void Sha1Digest::Free::operator()(evp_md_ctx_st *context) const {
    EVP_MD_CTX_free(context);
}

Sha1Digest::Sha1Digest() : context_(EVP_MD_CTX_new()) {
    require(context_ && sha1() && EVP_DigestInit_ex(context_.get(), sha1(), nullptr) == 1);
}

Sha1Digest::~Sha1Digest() = default;

void Sha1Digest::addData(QByteArrayView bytes) {
    if (!bytes.isEmpty())
        require(EVP_DigestUpdate(context_.get(), bytes.data(), std::size_t(bytes.size())) == 1);
}

QByteArray Sha1Digest::result() {
    QByteArray digest(EVP_MAX_MD_SIZE, Qt::Uninitialized);
    unsigned int size = 0;
    require(EVP_DigestFinal_ex(context_.get(), reinterpret_cast<unsigned char *>(digest.data()), &size) == 1);
    digest.truncate(qsizetype(size));
    return digest;
}
