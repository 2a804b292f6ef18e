#pragma once

#include <QString>

#include "request/summary_text.h"

#include <exception>
#include <new>

class QWidget;

namespace tarnel {

// The standard error box over parent's window, or on its own without one;
// an empty message for an exception that carries none.
void showErrorBox(QWidget* parent, const QString& message);

// Does a handler's work so that no exception crosses Qt's signals: a failure
// is shown in the error box over parent instead.
template <class Work>
void reportingFailures(QWidget* parent, Work&& work)
{
    try {
        work();
    } catch (const std::bad_alloc&) {
        // The window keeps working once the run's memory is freed; say how to ask for less.
        QString text = QString::fromStdString(outOfMemoryText(false) + ".");
        text[0] = text[0].toUpper();
        showErrorBox(parent, text);
    } catch (const std::exception& e) {
        showErrorBox(parent, QString::fromUtf8(e.what()));
    } catch (...) {
        showErrorBox(parent, QString());
    }
}

} // namespace tarnel
