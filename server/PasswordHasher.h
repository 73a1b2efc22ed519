// Password hashes with Argon2id at the cost OWASP recommends (19 MiB of memory, 2 passes).
// Each call takes tens of milliseconds of one core, so the server runs them off its loop.
#pragma once

#include <string>
#include <string_view>

namespace server {

class PasswordHasher {
public:
    static void Initialise();  // once, before the first hash
    static std::string Hash(std::string_view password);  // the encoded hash, salt and parameters included
    static bool Verify(const std::string& encodedHash, std::string_view password);
};

}  // namespace server
