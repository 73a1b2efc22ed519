#include "server/PasswordHasher.h"

#include <sodium.h>

#include <stdexcept>

namespace server {
namespace {

constexpr unsigned long long kPasses = 2;
constexpr std::size_t kMemoryBytes = 19 * 1024 * 1024;

}  // namespace

void PasswordHasher::Initialise()
{
    if (sodium_init() < 0)
        throw std::runtime_error("libsodium could not be initialised");
}

std::string PasswordHasher::Hash(std::string_view password)
{
    char encoded[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(encoded, password.data(), password.size(), kPasses, kMemoryBytes,
                              crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return encoded;
}

bool PasswordHasher::Verify(const std::string& encodedHash, std::string_view password)
{
    return crypto_pwhash_str_verify(encodedHash.c_str(), password.data(), password.size()) == 0;
}

}  // namespace server
