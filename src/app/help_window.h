#pragma once

// The help window: the program's help pages, a list of their topics beside them, and Back,
// Forward and Contents buttons.

#include <QString>
#include <QTextBrowser>
#include <QWidget>
#include <functional>

class QListWidget;

namespace karvex {

// One page of the help, as the contents list names it.
struct HelpPage
{
    const char* File;
    const char* Title;
};

// A browser that never shows a blank page for a link to a page that is missing: it reports the
// page's path and stays where it is.
class HelpBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    using MissingPage = std::function<void(const QString& path)>;
    explicit HelpBrowser(MissingPage onMissing, QWidget* parent = nullptr);

protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;

private:
    MissingPage m_onMissing;
};

class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    // folder holds the pages; onMissing hears of a page that is not there.
    HelpWindow(
        const QString& folder, HelpBrowser::MissingPage onMissing, QWidget* parent = nullptr);

    // Shows a page of the folder, "name.html" or "name.html#part"; false (after onMissing) when
    // the page is missing.
    bool ShowPage(const QString& page);

    HelpBrowser& Browser() const { return *m_browser; }
    QListWidget& Contents() const { return *m_contents; }

private:
    // Selects the contents entry of the page shown.
    void FollowSource(const QUrl& source);

    QString m_folder;
    HelpBrowser::MissingPage m_onMissing;
    HelpBrowser* m_browser = nullptr;
    QListWidget* m_contents = nullptr;
};

// The pages of the contents list, in its order; the first is the contents page.
const std::vector<HelpPage>& HelpPages();

} // namespace karvex
