#pragma once

#include <QApplication>

#include <functional>
#include <memory>

namespace tarnel {

class TForm1;

// Tarnel's application object: its identity, the main window it owns, and
// the standard error box for exceptions that escape an event handler.
class Application final : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);
    ~Application() override;

    // Catches what an event handler throws, shows it and goes on, so that a
    // failed search leaves a working window.
    bool notify(QObject* receiver, QEvent* event) override;

    // The standard error box with the message; an empty message for an
    // exception that carries none.
    void showException(const QString& message);

    // Creates the main window into Form1.
    void createForm();
    // Shows the main window and runs the event loop until it is closed.
    int run();

private:
    std::unique_ptr<TForm1> mainForm_;
};

// The steps of start-up once the application object exists: createForm
// makes the main window (Application::createForm but in tests), then the
// window runs until it is closed. An exception on the way is shown in the
// error box. Always 0.
int runApplication(Application& app, const std::function<void(Application&)>& createForm);

// The whole program: application object, main window, event loop. The
// command-line arguments are Qt's own only.
int runTarnel(int& argc, char** argv);

} // namespace tarnel
