// SPDX-License-Identifier: GPL-3.0-or-later
// The main of every widget test program: one QApplication (offscreen unless a platform is
// set), motions switched off so that every one lands at once, then Google Test.

#include "views/kit/MotionAnimator.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    velmora::MotionAnimator::setAnimationsEnabled(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
