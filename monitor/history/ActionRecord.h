#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// A user action on a family ("restart", "recover", "confirm_force_quit", ...) and its outcome,
// as the action's feedback described it ("Restarted; the new process is running.").
struct ActionRecord {
    std::string familyKey;
    std::string familyTitle;
    std::string action;
    std::string outcome;
    bool succeeded = false;
    int64_t atMs = 0;

    bool operator==(const ActionRecord&) const = default;
};

} // namespace velmora
