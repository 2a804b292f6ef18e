#include "display_check.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace tarnel {

namespace {

// Qt takes a plain function as its message handler, so what it holds back
// lives here, and only while a DisplayCheck does.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QtMessageHandler previousHandler = nullptr;
std::vector<HeldMessage> heldMessages;
QString platformProblem;

bool isPlatformMessage(const QMessageLogContext& context)
{
    return context.category != nullptr && QByteArray(context.category).startsWith("qt.qpa");
}

void checkDisplay(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        QString reason = platformProblem.isEmpty() ? text.section(QLatin1Char('\n'), 0, 0) : platformProblem;
        if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            reason = QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set");
        std::fprintf(stderr, "tarnel: cannot open a display (%s); try tarnel-cli\n", qPrintable(reason));
        std::fflush(stderr);
        // Qt aborts once the handler returns; the sentence above is the whole report.
        std::_Exit(1);
    }
    if (isPlatformMessage(context)) {
        if (platformProblem.isEmpty())
            platformProblem = text.trimmed();
        heldMessages.push_back({type, QByteArray(context.category), text});
        return;
    }
    if (previousHandler != nullptr)
        previousHandler(type, context, text);
}

} // namespace

DisplayCheck::DisplayCheck()
{
    previousHandler = qInstallMessageHandler(checkDisplay);
}

DisplayCheck::~DisplayCheck()
{
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage& m : heldMessages) {
        const QMessageLogContext context(nullptr, 0, nullptr, m.category.constData());
        if (previousHandler != nullptr)
            previousHandler(m.type, context, m.text);
    }
    heldMessages.clear();
    platformProblem.clear();
}

} // namespace tarnel
