#pragma once

// "Please Select": the modal dialog in which the user picks one of the pictures of a page that
// could be edited; it answers with the picture's key (its USEMAP value, else its SRC value).

#include "core/formats/html_import.h"

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QDialogButtonBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace karvex {

class MapChooserDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MapChooserDialog(QWidget* parent = nullptr);

    // Empties the choice and lists one item per candidate whose IMG tag has a SRC value, and one
    // per map no picture uses; the pictures are looked up from pageFile's folder.
    void Fill(const std::vector<MapCandidate>& candidates, const std::string& pageFile);

    // The key of the chosen picture; "" before any choice and after Cancel.
    const std::string& ChosenKey() const { return m_chosenKey; }
    // The key an item stands for.
    static std::string ItemKey(const QListWidgetItem& item);

    QListWidget& List() const { return *m_list; }
    QPushButton& OkButton() const { return *m_ok; }
    QPushButton& CancelButton() const { return *m_cancel; }
    QPushButton& HelpButton() const { return *m_help; }
    QLabel& NoteLabel() const { return *m_note; }

    void reject() override;

signals:
    void HelpRequested(int contextId);

private:
    // note: what the user should know before choosing the item, shown when it is selected.
    void AddItem(const std::string& src, const std::string& alt, const std::string& key,
        const std::string& pageFile, const std::string& charset, const std::string& note);
    void ChooseSelected();

    QListWidget* m_list = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_help = nullptr;
    QLabel* m_note = nullptr; // the selected item's note
    std::string m_chosenKey;
};

// Shows the dialog for candidates of the page pageFile and returns the chosen key, "" when the
// user cancels or confirms without a choice; its Help button calls onHelp with the topic.
// Leaves the normal mouse pointer behind.
std::string ChooseMapCandidate(const std::vector<MapCandidate>& candidates,
    const std::string& pageFile, QWidget* parent, const std::function<void(int)>& onHelp = {});

} // namespace karvex
