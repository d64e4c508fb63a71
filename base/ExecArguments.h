// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace velmora {

// The null-terminated array of C strings that execve() and posix_spawn() take (an argument
// list, an environment), pointing into `strings`, which must outlive it unchanged. Built before
// a fork: the child then needs no allocation.
std::vector<char*> execArguments(const std::vector<std::string>& strings);

} // namespace velmora
