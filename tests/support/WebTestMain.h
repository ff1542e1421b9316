#pragma once

#include <QTest>
#include <initializer_list>
#include <utility>
#ifdef QT_WEBENGINEQUICK_LIB
#include <QtWebEngineQuick/qtwebenginequickglobal.h>
#endif

// The start of a suite that runs a web engine: no sandbox (the tests may run
// as root), the offscreen platform unless the runner chose one, any extra
// environment, and the engine set up before the application exists.
template <typename Test, typename App>
int runWebTest(int argc, char **argv,
               std::initializer_list<std::pair<const char *, const char *>> environment = {})
{
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const auto &[name, value] : environment)
        qputenv(name, value);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
#ifdef QT_WEBENGINEQUICK_LIB
    QtWebEngineQuick::initialize();
#endif
    App app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

// KORVANTA_WEB_TEST_MAIN(TestClass, QGuiApplication or QApplication[, {{"NAME", "value"}}])
#define KORVANTA_WEB_TEST_MAIN(TestClass, AppClass, ...)                                           \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        return runWebTest<TestClass, AppClass>(argc, argv __VA_OPT__(, ) __VA_ARGS__);             \
    }
