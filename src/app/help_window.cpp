#include "app/help_window.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QListWidget>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <vector>

namespace karvex {

namespace {

constexpr int kContentsWidth = 270;

} // namespace

const std::vector<HelpPage>& HelpPages()
{
    static const std::vector<HelpPage> pages = {
        { "index.html", "Contents" },
        { "getting-started.html", "Getting started" },
        { "hotspots.html", "Drawing and editing hotspots" },
        { "properties.html", "The property panel" },
        { "code.html", "The code page and the code edit dialog" },
        { "several-maps.html", "Pages with several maps" },
        { "saving.html", "Saving" },
        { "preview.html", "Preview in the browser" },
        { "converter.html", "The converter" },
        { "wizard.html", "The Hotspot Wizard" },
        { "options.html", "Options" },
        { "shortcuts.html", "Keyboard shortcuts" },
    };
    return pages;
}

HelpBrowser::HelpBrowser(MissingPage onMissing, QWidget* parent)
    : QTextBrowser(parent)
    , m_onMissing(std::move(onMissing))
{
    // Links to the web go to the desktop's browser; pages of the help stay here.
    setOpenExternalLinks(true);
}

void HelpBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type)
{
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isFile()) {
        if (m_onMissing)
            m_onMissing(QDir::toNativeSeparators(url.toLocalFile()));
        return;
    }
    QTextBrowser::doSetSource(url, type);
}

HelpWindow::HelpWindow(const QString& folder, HelpBrowser::MissingPage onMissing, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_folder(folder)
    , m_onMissing(std::move(onMissing))
{
    setObjectName("HelpWindow");
    setWindowTitle("Karvex Help");
    resize(960, 640);

    m_browser = new HelpBrowser(m_onMissing, this);
    m_browser->setObjectName("HelpBrowser");
    m_browser->setSearchPaths({ folder });
    m_contents = new QListWidget(this);
    m_contents->setObjectName("HelpContents");
    for (const HelpPage& page : HelpPages()) {
        auto* item = new QListWidgetItem(page.Title, m_contents);
        item->setData(Qt::UserRole, QString(page.File));
    }

    auto* tools = new QToolBar(this);
    QAction* back = tools->addAction(style()->standardIcon(QStyle::SP_ArrowBack), "Back");
    QAction* forward = tools->addAction(style()->standardIcon(QStyle::SP_ArrowForward), "Forward");
    QAction* home = tools->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), "Contents");
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    auto* split = new QSplitter(this);
    split->addWidget(m_contents);
    split->addWidget(m_browser);
    split->setStretchFactor(1, 1);
    split->setSizes({ kContentsWidth, width() - kContentsWidth });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(split);

    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(home, &QAction::triggered, this, [this] { ShowPage(HelpPages().front().File); });
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::FollowSource);
    connect(m_contents, &QListWidget::itemActivated, this,
        [this](QListWidgetItem* item) { ShowPage(item->data(Qt::UserRole).toString()); });
    connect(m_contents, &QListWidget::itemClicked, this,
        [this](QListWidgetItem* item) { ShowPage(item->data(Qt::UserRole).toString()); });
}

bool HelpWindow::ShowPage(const QString& page)
{
    const QString file = page.section('#', 0, 0);
    const QString fragment = page.section('#', 1);
    const QString path = QDir(m_folder).filePath(file);
    if (!QFileInfo(path).isFile()) {
        if (m_onMissing)
            m_onMissing(QDir::toNativeSeparators(path));
        return false;
    }
    QUrl url = QUrl::fromLocalFile(path);
    if (!fragment.isEmpty())
        url.setFragment(fragment);
    m_browser->setSource(url);
    return true;
}

void HelpWindow::FollowSource(const QUrl& source)
{
    const QString file = QFileInfo(source.toLocalFile()).fileName();
    for (int row = 0; row < m_contents->count(); ++row) {
        QListWidgetItem* item = m_contents->item(row);
        if (item->data(Qt::UserRole).toString() == file) {
            const QSignalBlocker quiet(m_contents);
            m_contents->setCurrentItem(item);
            return;
        }
    }
    m_contents->clearSelection();
}

} // namespace karvex
