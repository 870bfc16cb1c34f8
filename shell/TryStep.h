#pragma once

#include <QDebug>

#include <exception>

// Runs one step of a handler that carries on with its next step after any error; the error
// is written to the log and goes no further. Returns false when the step failed.
template <class Step> bool TryStep(const char* what, Step&& step)
{
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        qWarning().noquote() << what << "failed:" << e.what();
    } catch (...) {
        qWarning().noquote() << what << "failed";
    }
    return false;
}
