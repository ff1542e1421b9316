#pragma once

#include <QCoroTask>
#include <QEventLoop>
#include <exception>
#include <optional>

// Runs a coroutine to its end from a test, rethrowing what it threw.
// (QCoro::waitFor never returns when the task throws.)
namespace detail {
template <typename T>
QCoro::Task<> drive(QCoro::Task<T> task, std::optional<T> &result, std::exception_ptr &error,
                    bool &done, QEventLoop &loop)
{
    try {
        result = co_await std::move(task);
    } catch (...) {
        error = std::current_exception();
    }
    done = true;
    loop.quit();
}

inline QCoro::Task<bool> finished(QCoro::Task<> task)
{
    co_await std::move(task);
    co_return true;
}
}

template <typename T>
T runTask(QCoro::Task<T> task)
{
    QEventLoop loop;
    std::optional<T> result;
    std::exception_ptr error;
    bool done = false;
    detail::drive<T>(std::move(task), result, error, done, loop);
    if (!done)
        loop.exec();
    if (error)
        std::rethrow_exception(error);
    return std::move(*result);
}

inline void runTask(QCoro::Task<> task)
{
    runTask(detail::finished(std::move(task)));
}
