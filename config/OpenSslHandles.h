#pragma once

#include <openssl/evp.h>
#include <openssl/kdf.h>

#include <memory>

// Owners for OpenSSL's objects: each frees its object with the matching
// OpenSSL function on every path.
template<auto Free>
struct OpenSslDeleter
{
    template<typename Object>
    void operator()(Object *object) const
    {
        Free(object);
    }
};

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, OpenSslDeleter<EVP_CIPHER_CTX_free>>;
using KdfMethod = std::unique_ptr<EVP_KDF, OpenSslDeleter<EVP_KDF_free>>;
using KdfContext = std::unique_ptr<EVP_KDF_CTX, OpenSslDeleter<EVP_KDF_CTX_free>>;
