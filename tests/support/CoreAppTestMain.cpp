// SPDX-License-Identifier: GPL-3.0-or-later
// The main of the Qt test programs without widgets (local sockets, D-Bus, settings): one
// QCoreApplication, then Google Test.

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
