// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <mutex>
#include <string>

namespace velmora {

// Whether `password` matches `hash`, a bcrypt hash ("$2a$", "$2b$" or "$2y$"), checked by the
// system's crypt_r.
bool bcryptMatches(const std::string& password, const std::string& hash);

// HTTP basic authentication against bcrypt hashes, as the scrape endpoint asks for it. Every
// scrape brings the same credentials, and bcrypt is slow on purpose (tens of milliseconds at
// cost 10), so the last password that matched is remembered per user, in this process only;
// a user that is not listed costs a bcrypt check all the same. Safe to call from any thread.
class BasicAuth {
public:
    explicit BasicAuth(std::map<std::string, std::string> hashes);

    bool allows(const std::string& user, const std::string& password) const;

private:
    std::map<std::string, std::string> hashes_;
    mutable std::mutex mutex_;
    mutable std::map<std::string, std::string> matched_; // user -> password that matched
};

} // namespace velmora
