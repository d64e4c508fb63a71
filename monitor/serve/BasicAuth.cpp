// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/serve/BasicAuth.h"

#include <crypt.h>
#include <memory>

namespace velmora {
namespace {

// Checked when the user is unknown, so that an unknown name takes as long as a wrong password.
constexpr const char* kStandInHash = "$2b$10$4zYuD9tY2A4uLXF45eG8OuJnIau2SfnmDPZY/sr1RVVMAZZauF.hy";

bool sameBytes(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    unsigned char difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    }
    return difference == 0;
}

} // namespace

bool bcryptMatches(const std::string& password, const std::string& hash) {
    if (hash.rfind("$2", 0) != 0) {
        return false; // crypt_r would take DES or MD5 here; only bcrypt is accepted
    }
    auto data = std::make_unique<crypt_data>(); // about 32 KiB: not on the stack
    const char* result = ::crypt_r(password.c_str(), hash.c_str(), data.get());
    // On failure crypt_r returns null or a string starting with '*'.
    return result != nullptr && result[0] == '$' && sameBytes(result, hash);
}

BasicAuth::BasicAuth(std::map<std::string, std::string> hashes) : hashes_(std::move(hashes)) {}

bool BasicAuth::allows(const std::string& user, const std::string& password) const {
    auto it = hashes_.find(user);
    if (it == hashes_.end()) {
        bcryptMatches(password, kStandInHash);
        return false;
    }
    {
        std::lock_guard lock(mutex_);
        auto known = matched_.find(user);
        if (known != matched_.end() && sameBytes(known->second, password)) {
            return true;
        }
    }
    if (!bcryptMatches(password, it->second)) {
        return false;
    }
    std::lock_guard lock(mutex_);
    matched_[user] = password;
    return true;
}

} // namespace velmora
