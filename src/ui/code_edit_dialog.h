#pragma once

// "Edit Window": the AREA tag of one hotspot edited by hand. OK checks the text with the
// validator and lists every problem; the dialog only accepts a clean text.

#include <QDialog>
#include <vector>

class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace karvex {

class CodeEditDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CodeEditDialog(QWidget* parent = nullptr);

    void SetCode(const QString& text);
    QString Code() const;
    QPlainTextEdit& Editor() const { return *m_text; }
    QListWidget& ErrorList() const { return *m_errors; }

    // How many "<" and ">" the text holds.
    static int CountManyTag(const QString& text);

signals:
    void HelpRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CheckAndAccept();
    void ShowErrors(const std::string& messages);

    QPlainTextEdit* m_text = nullptr;
    QLabel* m_errorLabel = nullptr;
    QListWidget* m_errors = nullptr;
    std::vector<int> m_positions; // entry number - 1 to character position
};

} // namespace karvex
