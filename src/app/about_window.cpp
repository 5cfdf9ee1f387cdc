#include "app/about_window.h"

#include "core/model/app_state.h"
#include "karvex/version.h"
#include "ui/qt_text.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace karvex {

namespace {

// The program's terms. The project has chosen no licence yet, so none is granted: change this
// line when it does.
constexpr char kLicence[] = "No licence has been granted for this program yet: its authors "
                            "reserve all rights to it.";

constexpr int kTextWidth = 420;

QLabel* Paragraph(const QString& html, QWidget* parent)
{
    auto* label = new QLabel(html, parent);
    label->setWordWrap(true);
    label->setMinimumWidth(kTextWidth);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    label->setOpenExternalLinks(false);
    return label;
}

} // namespace

AboutWindow::AboutWindow(const AppState& state, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("FRM_About");
    setWindowTitle("About Karvex");
    auto* layout = new QVBoxLayout(this);

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(":/icons/pic_Hotspot.png").pixmap(48, 48));
    layout->addWidget(icon, 0, Qt::AlignHCenter);

    auto* title = Paragraph(QString("<h2>%1</h2>").arg(kProgramTitle), this);
    title->setObjectName("ProgramName");
    title->setAlignment(Qt::AlignHCenter);
    layout->addWidget(title);
    auto* version = Paragraph(QString("Version %1").arg(kVersion), this);
    version->setObjectName("Version");
    version->setAlignment(Qt::AlignHCenter);
    layout->addWidget(version);
    layout->addWidget(Paragraph("An editor for client-side HTML image maps.", this));

    auto* licence
        = Paragraph(QString("<b>Licence</b><br>%1").arg(QString(kLicence).toHtmlEscaped()), this);
    licence->setObjectName("Licence");
    layout->addWidget(licence);
    layout->addWidget(Paragraph("<b>Icons</b><br>The toolbar and menu icons come from the Tango "
                                "Icon Library of the Tango Desktop Project, released into the "
                                "public domain by their authors.",
        this));

    const QString settingsFile = QDir::toNativeSeparators(ToDisplay(state.SettingsPath));
    const QString logs
        = QDir::toNativeSeparators(QDir(ToDisplay(state.AppPath)).filePath("Errors"));
    auto* files = Paragraph(QString("<b>Your files</b><br>Settings: %1<br>Start-up logs: %2")
                                .arg(settingsFile.toHtmlEscaped(), logs.toHtmlEscaped()),
        this);
    files->setObjectName("Locations");
    layout->addWidget(files);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("OkButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    // A window of fixed text: its size follows the text, and nothing stretches between lines.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace karvex
