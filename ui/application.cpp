#include "application.h"

#include "main_window.h"

#include <QIcon>
#include <QMessageBox>

#include <exception>

namespace tarnel {

namespace {

QIcon tarnelIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 256})
        icon.addFile(QStringLiteral(":/icons/tarnel_%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Tarnel"));
    setApplicationVersion(QStringLiteral("1.0.0.0"));
    setDesktopFileName(QStringLiteral("tarnel"));
    setWindowIcon(tarnelIcon());
}

Application::~Application()
{
    Form1 = nullptr;
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        showException(QString::fromUtf8(e.what()));
    } catch (...) {
        showException(QString());
    }
    // The event has been dealt with by reporting it; nothing else should act
    // on it.
    return true;
}

void Application::showException(const QString& message)
{
    QMessageBox::critical(Form1, applicationName(), message);
}

void Application::createForm()
{
    mainForm_ = std::make_unique<TForm1>();
    Form1 = mainForm_.get();
}

int Application::run()
{
    if (Form1 != nullptr)
        Form1->show();
    return exec();
}

int runApplication(Application& app, const std::function<void(Application&)>& createForm)
{
    try {
        createForm(app);
        app.run();
    } catch (const std::exception& e) {
        app.showException(QString::fromUtf8(e.what()));
    } catch (...) {
        app.showException(QString());
    }
    return 0;
}

int runTarnel(int& argc, char** argv)
{
    Application app(argc, argv);
    return runApplication(app, [](Application& a) { a.createForm(); });
}

} // namespace tarnel
