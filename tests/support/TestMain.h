#pragma once

#include "app/ZelApplication.h"

#include <QtTest>

// Like QTEST_MAIN, but with the tool's application object, whose notify() hands escaped
// exceptions to the window's handler.
#define ZEL_TEST_MAIN(TestClass)                                                                   \
    int main(int argc, char *argv[]) {                                                             \
        ZelApplication app(argc, argv);                                                            \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
