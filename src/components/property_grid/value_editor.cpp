#include "components/property_grid/value_editor.h"

#include <QPainter>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolButton>

namespace karvex::grid {

namespace {

constexpr int kSwatchWidth = 18;

class ColourValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& input, int& /*position*/) const override
    {
        const QString digits = input.startsWith(u'#') ? input.mid(1) : input;
        if (digits.size() > 6)
            return Invalid;
        for (const QChar c : digits) {
            const char16_t u = c.unicode();
            const bool hex
                = (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
            if (!hex)
                return Invalid;
        }
        return (digits.isEmpty() && input.isEmpty()) || digits.size() == 6 ? Acceptable
                                                                           : Intermediate;
    }
};

} // namespace

ValueEditor::ValueEditor(QWidget* parent, bool swatch, bool button)
    : QLineEdit(parent)
    , m_swatch(swatch)
{
    setObjectName(QStringLiteral("ValueEditor"));
    setFrame(false);
    if (button) {
        m_button = new QToolButton(this);
        m_button->setObjectName(QStringLiteral("BrowseButton"));
        m_button->setText(QStringLiteral("..."));
        // The line edit keeps the focus, so a click does not end the edit.
        m_button->setFocusPolicy(Qt::NoFocus);
        m_button->setCursor(Qt::ArrowCursor);
        connect(m_button, &QToolButton::clicked, this, &ValueEditor::ButtonClicked);
    }
    if (m_swatch)
        connect(this, &QLineEdit::textChanged, this, [this] { update(); });
}

void ValueEditor::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    const int buttonWidth = m_button ? height() + 4 : 0;
    if (m_button)
        m_button->setGeometry(width() - buttonWidth, 0, buttonWidth, height());
    setTextMargins(m_swatch ? kSwatchWidth + 2 : 2, 0, buttonWidth, 0);
}

void ValueEditor::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    if (!m_swatch)
        return;
    QPainter painter(this);
    const int side = height() - 8;
    PaintSwatch(
        painter, QRect(4, (height() - side) / 2, kSwatchWidth - 4, side), ColourFromText(text()));
}

QColor ColourFromText(const QString& text)
{
    const QString digits = text.startsWith(u'#') ? text.mid(1) : text;
    if (digits.size() != 6)
        return {};
    bool ok = false;
    const uint rgb = digits.toUInt(&ok, 16);
    return ok ? QColor::fromRgb(static_cast<QRgb>(rgb)) : QColor();
}

QString NormalizeColourText(const QString& text)
{
    const QColor colour = ColourFromText(text);
    return colour.isValid() ? ColourText(colour) : text;
}

QString ColourText(const QColor& colour)
{
    return QStringLiteral("#%1%2%3")
        .arg(colour.red(), 2, 16, QLatin1Char('0'))
        .arg(colour.green(), 2, 16, QLatin1Char('0'))
        .arg(colour.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QValidator* MakeNumberValidator(QObject* parent)
{
    return new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("(-?\\d{1,9})?")), parent);
}

QValidator* MakeColourValidator(QObject* parent) { return new ColourValidator(parent); }

void PaintSwatch(QPainter& painter, const QRect& rect, const QColor& colour)
{
    painter.save();
    painter.setPen(QColor(90, 90, 90));
    if (colour.isValid()) {
        painter.setBrush(colour);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    } else {
        // An unreadable colour shows as a crossed box rather than as some colour.
        painter.setBrush(Qt::white);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        painter.drawLine(rect.topLeft(), rect.bottomRight());
    }
    painter.restore();
}

} // namespace karvex::grid
