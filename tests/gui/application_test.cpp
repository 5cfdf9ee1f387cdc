// An exception that an event handler lets out ends the action with a message, not the program.

#include "app/application.h"
#include "support/scripted_prompt.h"

#include <QEvent>
#include <QTest>
#include <new>
#include <stdexcept>

namespace karvex {

class Thrower : public QObject
{
public:
    bool OutOfMemory = false;
    int Handled = 0;

    bool event(QEvent*) override
    {
        ++Handled;
        if (OutOfMemory)
            throw std::bad_alloc();
        throw std::runtime_error("The page is 3 GiB long");
    }
};

class ApplicationTest : public QObject
{
    Q_OBJECT

private slots:
    void thrownExceptionsBecomeMessages()
    {
        auto* app = qobject_cast<Application*>(QCoreApplication::instance());
        QVERIFY(app);
        test::ScriptedPrompt prompt;
        app->SetPrompt(&prompt);
        Thrower thrower;
        QEvent event(QEvent::User);
        QVERIFY(!QCoreApplication::sendEvent(&thrower, &event));
        thrower.OutOfMemory = true;
        QVERIFY(!QCoreApplication::sendEvent(&thrower, &event));
        QCOMPARE(thrower.Handled, 2);
        QCOMPARE(prompt.Messages.size(), std::size_t { 2 });
        QCOMPARE(prompt.Messages[0].Text,
            std::string("Karvex could not finish this action and stopped it.\r\n\r\n"
                        "Reason : The page is 3 GiB long"));
        QCOMPARE(prompt.Messages[0].Icon, PromptIcon::Critical);
        QVERIFY(prompt.Messages[1].Text.find("not enough memory") != std::string::npos);
        app->SetPrompt(nullptr);
    }
};

} // namespace karvex

int main(int argc, char** argv)
{
    karvex::Application app(argc, argv);
    karvex::ApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "application_test.moc"
