#pragma once

#include <stdexcept>

namespace velmora {

// The state of the login item, mirroring the platform codes 0 to 3.
enum class LoginItemStatus { notRegistered = 0, enabled = 1, requiresApproval = 2, notFound = 3 };

// Any code above 3 (and any below 0) counts as "not found".
LoginItemStatus loginItemStatusFromCode(int code);

// What the launch-at-login control drives. register() and unregister() throw
// std::exception with a description for the user when they fail.
class LoginItemControlling {
public:
    virtual ~LoginItemControlling() = default;
    virtual LoginItemStatus status() const = 0;
    virtual void registerItem() = 0;
    virtual void unregisterItem() = 0;
    virtual void openSystemSettings() = 0;
};

// The error of a copy that cannot have a login item.
class LoginItemUnsupported : public std::runtime_error {
public:
    LoginItemUnsupported();
};

// Always "not found"; every change fails. Self-check runs use it so that they never touch the
// user's login items.
class UnavailableLoginItemController final : public LoginItemControlling {
public:
    LoginItemStatus status() const override { return LoginItemStatus::notFound; }
    void registerItem() override { throw LoginItemUnsupported(); }
    void unregisterItem() override { throw LoginItemUnsupported(); }
    void openSystemSettings() override {}
};

} // namespace velmora
