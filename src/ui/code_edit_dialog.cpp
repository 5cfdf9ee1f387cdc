#include "ui/code_edit_dialog.h"

#include "core/code/html_validator.h"
#include "core/code/validator_messages.h"
#include "ui/qt_text.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace karvex {

namespace {

// The tag is typed, never pasted: the context menu's Paste, a drop and the middle button's
// selection paste all go through these two.
class TagTextEdit : public QPlainTextEdit
{
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData*) const override { return false; }
    void insertFromMimeData(const QMimeData*) override { }
};

} // namespace

CodeEditDialog::CodeEditDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("FrmEdit_Code");
    setWindowTitle("Edit Window");
    resize(560, 200);
    auto* layout = new QVBoxLayout(this);

    m_text = new TagTextEdit(this);
    m_text->setObjectName("TagEditor");
    QFont code("Monospace");
    code.setStyleHint(QFont::TypeWriter);
    m_text->setFont(code);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text->setTabChangesFocus(true);
    m_text->installEventFilter(this);
    layout->addWidget(m_text, 1);

    m_errorLabel = new QLabel("Syntax Error", this);
    m_errorLabel->setStyleSheet("font-weight: bold");
    m_errors = new QListWidget(this);
    m_errors->setObjectName("ErrorList");
    m_errors->setWordWrap(true);
    layout->addWidget(m_errorLabel);
    layout->addWidget(m_errors, 1);
    m_errorLabel->hide();
    m_errors->hide();
    connect(m_errors, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int index = m_errors->row(item);
        if (index < 0 || static_cast<std::size_t>(index) >= m_positions.size())
            return;
        QTextCursor cursor = m_text->textCursor();
        cursor.setPosition(std::clamp(m_positions[static_cast<std::size_t>(index)] - 1, 0,
            static_cast<int>(m_text->toPlainText().size())));
        m_text->setTextCursor(cursor);
        m_text->setFocus();
    });

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton("Help", QDialogButtonBox::HelpRole);
    ok->setObjectName("OkButton");
    cancel->setObjectName("CancelButton");
    help->setObjectName("HelpButton");
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CodeEditDialog::CheckAndAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &CodeEditDialog::HelpRequested);
    layout->addWidget(buttons);
}

void CodeEditDialog::SetCode(const QString& text) { m_text->setPlainText(text); }

QString CodeEditDialog::Code() const { return m_text->toPlainText(); }

int CodeEditDialog::CountManyTag(const QString& text)
{
    return static_cast<int>(text.count('<') + text.count('>'));
}

bool CodeEditDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The tag stays one line, nothing is pasted in, and it holds one pair of brackets.
        if (key->matches(QKeySequence::Paste)
            || (key->key() == Qt::Key_Insert && key->modifiers() & Qt::ShiftModifier))
            return true;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            return true;
        if ((key->text() == "<" || key->text() == ">") && CountManyTag(Code()) >= 2)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CodeEditDialog::CheckAndAccept()
{
    HtmlValidator validator;
    validator.InsertCode(FromDisplay(Code()));
    if (validator.ErrorFound()) {
        ShowErrors(validator.ExtractErrorMessages());
        return;
    }
    accept();
}

void CodeEditDialog::ShowErrors(const std::string& messages)
{
    m_errors->clear();
    m_positions.clear();
    int number = 1;
    for (const ValidatorError& error : ParseErrorMessages(messages)) {
        const ValidatorMessage message = MessageForError(error.Code, error.Position);
        auto* item = new QListWidgetItem(QString("%1. %2\n%3")
                                             .arg(number++)
                                             .arg(ToDisplay(message.Title))
                                             .arg(ToDisplay(message.Detail)));
        item->setData(Qt::UserRole, ToDisplay(message.Title));
        item->setData(Qt::UserRole + 1, ToDisplay(message.Detail));
        m_errors->addItem(item);
        m_positions.push_back(static_cast<int>(error.Position));
    }
    m_errorLabel->show();
    m_errors->show();
    resize(width(), std::max(height(), 360));
}

} // namespace karvex
