#include "components/code_box/code_box.h"

#include "components/code_box/code_view.h"
#include "components/common/color.h"

#include <QVBoxLayout>

namespace karvex {

using codebox::CodeView;

CodeBox::CodeBox(QWidget* parent)
    : QWidget(parent)
    , m_view(new CodeView(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    // The colours of a fresh settings file until the window sets its own.
    SetSelectedBackground(14800078);
    SetAttributeNameColor(255);
    SetAttributeValueColor(8421376);
    SetCommentColor(8421504);
    SetElementNameColor(16744576);
    SetFontColor(0);
    SetGutterColor(static_cast<std::int32_t>(0x8000000F));

    connect(m_view, &CodeView::LineClicked, this, [this](int line) {
        const auto& region = m_view->Store().At(line);
        emit RegionClicked(region.Key, region.Group);
    });
    connect(m_view, &CodeView::LineDoubleClicked, this, [this](int line) {
        const auto& region = m_view->Store().At(line);
        emit RegionDoubleClicked(region.Key, region.Group);
    });
    connect(m_view, &CodeView::MouseReleased, this, [this](int button, int modifiers, int line) {
        if (line < 0) {
            emit RegionMouseUp(button, modifiers, QString(), QString());
            return;
        }
        const auto& region = m_view->Store().At(line);
        emit RegionMouseUp(button, modifiers, region.Key, region.Group);
    });
}

void CodeBox::AddRegion(
    const QString& text, const QString& key, const QString& group, const QIcon& icon, int kind)
{
    m_view->Store().Add(text, key, group, icon, kind);
    m_view->Refresh();
}

void CodeBox::UpdateRegionText(const QString& key, const QString& text)
{
    if (m_view->Store().UpdateText(key, text))
        m_view->Refresh();
}

void CodeBox::RemoveRegion(const QString& key)
{
    if (m_view->Store().Remove(key))
        m_view->Refresh();
}

void CodeBox::RenameRegion(const QString& oldKey, const QString& newKey)
{
    m_view->Store().Rename(oldKey, newKey);
}

void CodeBox::SelectRegion(const QString& key)
{
    const int line = m_view->Store().LineOf(key);
    if (line < 0)
        return;
    m_view->Store().Select(line);
    m_view->EnsureVisible(line);
    m_view->Refresh();
}

void CodeBox::SetRegionLocked(const QString& key, bool locked, int /*unused*/)
{
    if (m_view->Store().SetLocked(key, locked))
        m_view->Refresh();
}

bool CodeBox::IsRegionLocked(const QString& key) const
{
    const int line = m_view->Store().LineOf(key);
    return line >= 0 && m_view->Store().At(line).Locked;
}

void CodeBox::SetLockIcon(const QIcon& icon) { m_view->SetLockIcon(icon); }

void CodeBox::CodeRedraw(bool on) { m_view->SetRedraw(on); }

void CodeBox::RefreshCode() { m_view->Refresh(); }

void CodeBox::Clear()
{
    m_view->Store().Clear();
    m_view->Refresh();
}

int CodeBox::RegionCount() const { return m_view->Store().Count(); }

QStringList CodeBox::RegionKeys() const
{
    const auto& store = m_view->Store();
    QStringList keys;
    keys.reserve(store.Count());
    for (int line = 0; line < store.Count(); ++line)
        keys.append(store.At(line).Key);
    return keys;
}

QString CodeBox::RegionText(const QString& key) const
{
    const int line = m_view->Store().LineOf(key);
    return line < 0 ? QString() : m_view->Store().At(line).Text;
}

QString CodeBox::RegionGroup(const QString& key) const
{
    const int line = m_view->Store().LineOf(key);
    return line < 0 ? QString() : m_view->Store().At(line).Group;
}

QString CodeBox::SelectedKey() const
{
    const int line = m_view->Store().Selected();
    return line < 0 ? QString() : m_view->Store().At(line).Key;
}

QRect CodeBox::RegionRect(const QString& key) const
{
    const int line = m_view->Store().LineOf(key);
    return line < 0 ? QRect() : m_view->LineRect(line);
}

void CodeBox::SetSelectedBackground(std::int32_t color)
{
    m_view->SetSelectedBackground(ToQColor(color));
}

void CodeBox::SetAttributeNameColor(std::int32_t color)
{
    m_view->SetTokenColor(CodeTokenKind::AttributeName, ToQColor(color));
}

void CodeBox::SetAttributeValueColor(std::int32_t color)
{
    m_view->SetTokenColor(CodeTokenKind::AttributeValue, ToQColor(color));
}

void CodeBox::SetCommentColor(std::int32_t color)
{
    m_view->SetTokenColor(CodeTokenKind::Comment, ToQColor(color));
}

void CodeBox::SetElementNameColor(std::int32_t color)
{
    m_view->SetTokenColor(CodeTokenKind::ElementName, ToQColor(color));
}

void CodeBox::SetFontColor(std::int32_t color)
{
    m_view->SetTokenColor(CodeTokenKind::Text, ToQColor(color));
}

void CodeBox::SetGutterColor(std::int32_t color) { m_view->SetGutterColor(ToQColor(color)); }

void CodeBox::SetXpLook(bool on) { m_view->SetXpLook(on); }

} // namespace karvex
