#include "application.h"

#include "display_check.h"
#include "error_box.h"
#include "main_window.h"
#include "tarnel_version.h"

#include <QIcon>
#include <QSettings>

#include <optional>

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
    // Settings go to the XDG config folder, as tarnel/Tarnel.conf.
    setOrganizationName(QStringLiteral("tarnel"));
    setApplicationName(QStringLiteral("Tarnel"));
    setApplicationVersion(QString::fromLatin1(tarnelVersion));
    setDesktopFileName(QStringLiteral("io.github.tarnel.Tarnel"));
    setWindowIcon(tarnelIcon());
}

Application::~Application() = default;

bool Application::notify(QObject* receiver, QEvent* event)
{
    bool handled = true; // by reporting the failure; nothing else should act on the event
    reportingFailures(mainForm_.get(), [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

void Application::createForm()
{
    mainForm_ = std::make_unique<TForm1>();
}

void Application::restoreForm()
{
    QSettings settings;
    mainForm_->restoreState(settings);
}

int Application::run()
{
    if (mainForm_)
        mainForm_->show();
    const int status = exec();
    if (mainForm_) {
        QSettings settings;
        mainForm_->saveState(settings);
    }
    return status;
}

int runApplication(Application& app, const std::function<void(Application&)>& createForm)
{
    // A failure here comes before the window shows, so the box stands on its own.
    reportingFailures(nullptr, [&] {
        createForm(app);
        app.run();
    });
    return 0;
}

int runTarnel(int& argc, char** argv)
{
    std::optional<DisplayCheck> displayCheck(std::in_place);
    Application app(argc, argv);
    displayCheck.reset();
    const bool defaults = QCoreApplication::arguments().contains(QStringLiteral("--defaults"));
    return runApplication(app, [defaults](Application& a) {
        a.createForm();
        if (!defaults)
            a.restoreForm();
    });
}

} // namespace tarnel
