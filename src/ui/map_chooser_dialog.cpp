#include "ui/map_chooser_dialog.h"

#include "core/formats/img_import.h"
#include "core/formats/tag_reader.h"
#include "ui/help_topics.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QVBoxLayout>

namespace karvex {

namespace {

constexpr int kThumbSide = 112;
constexpr int kCellWidth = 148;
constexpr int kCellPadding = 8;
constexpr int kCaptionGap = 6;
constexpr int kCaptionLines = 2;
constexpr int kKeyRole = Qt::UserRole;
constexpr int kNoteRole = Qt::UserRole + 1; // what the user should know before choosing it

constexpr const char* kMessage = "There have been discovered more than one potential imagemap, "
                                 "please select the one you want to use.";
constexpr const char* kNoDescription = "No Image Description Available";
constexpr const char* kNoPictureNote = "No picture of the page uses this map: choosing it asks "
                                       "for the picture to draw it on.";

// The picture fitted into box (device pixels) with its aspect ratio kept; small pictures stay
// as they are. Null when the file cannot be read.
QImage ReadThumbnail(const std::string& path, const QSize& box)
{
    QImageReader reader(ToDisplay(path));
    // The editor shows pictures as stored, so the thumbnail does too.
    reader.setAutoTransform(false);
    const QSize full = reader.size();
    // Decoding at reduced size keeps large photographs cheap (JPEG scales while decoding).
    // Palette pictures (GIF, small PNG) are left whole: scaled while decoding they come out
    // dithered.
    const bool photo = reader.imageFormat() != QImage::Format_Indexed8
        && reader.imageFormat() != QImage::Format_Mono
        && reader.imageFormat() != QImage::Format_MonoLSB;
    if (photo && full.isValid() && (full.width() > box.width() || full.height() > box.height()))
        reader.setScaledSize(full.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    QImage image = reader.read();
    if (image.isNull())
        return {};
    if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono
        || image.format() == QImage::Format_MonoLSB)
        image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.width() > box.width() || image.height() > box.height())
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

// A grey card with a landscape sketch, for a picture that cannot be shown.
void DrawPlaceholder(QPainter& painter, const QRectF& area)
{
    const qreal unit = area.width() / 16.0;
    QRectF card(0, 0, area.width() * 0.78, area.width() * 0.6);
    card.moveCenter(area.center());
    painter.setPen(QPen(QColor(160, 160, 160), unit * 0.18, Qt::DashLine));
    painter.setBrush(QColor(238, 238, 238));
    painter.drawRoundedRect(card, unit * 0.8, unit * 0.8);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(185, 185, 185));
    painter.drawEllipse(
        QPointF(card.left() + card.width() * 0.3, card.top() + card.height() * 0.32), unit, unit);
    QPainterPath hills;
    const qreal base = card.bottom() - card.height() * 0.18;
    hills.moveTo(card.left() + card.width() * 0.14, base);
    hills.lineTo(card.left() + card.width() * 0.42, card.top() + card.height() * 0.45);
    hills.lineTo(card.left() + card.width() * 0.58, card.top() + card.height() * 0.62);
    hills.lineTo(card.left() + card.width() * 0.7, card.top() + card.height() * 0.4);
    hills.lineTo(card.right() - card.width() * 0.14, base);
    hills.closeSubpath();
    painter.drawPath(hills);
}

// The item's icon: the thumbnail centred on a square with a thin frame, or the placeholder;
// emblem, when given, in its lower right corner.
QIcon ThumbnailIcon(const std::string& picturePath, qreal ratio, const QIcon& emblem = {})
{
    const int side = qRound(kThumbSide * ratio);
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const int margin = qRound(3 * ratio);
    const QImage picture = picturePath.empty()
        ? QImage()
        : ReadThumbnail(picturePath, QSize(side - 2 * margin, side - 2 * margin));
    if (picture.isNull()) {
        DrawPlaceholder(painter, QRectF(0, 0, side, side));
    } else {
        QRect target(QPoint(0, 0), picture.size());
        target.moveCenter(QRect(0, 0, side, side).center());
        const int shadow = qMax(1, qRound(ratio));
        painter.fillRect(target.translated(shadow, shadow), QColor(0, 0, 0, 45));
        // Transparent pictures are made for a page, which is white unless it says otherwise.
        painter.fillRect(target, Qt::white);
        painter.drawImage(target.topLeft(), picture);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QColor(0, 0, 0, 60));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(target.adjusted(0, 0, -1, -1));
    }
    if (!emblem.isNull()) {
        const int emblemSide = qRound(24 * ratio);
        painter.drawPixmap(
            side - emblemSide, side - emblemSide, emblem.pixmap(QSize(emblemSide, emblemSide)));
    }
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return QIcon(pixmap);
}

// Draws up to kCaptionLines centred lines of text, the last one elided when text goes on.
void DrawCaption(QPainter& painter, const QRect& rect, const QString& text, const QFont& font)
{
    const QFontMetrics metrics(font);
    QTextLayout layout(text, font);
    QTextOption wrap(Qt::AlignHCenter);
    wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(wrap);
    layout.beginLayout();
    int top = rect.top();
    for (int lineNumber = 1; lineNumber <= kCaptionLines; ++lineNumber) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(rect.width());
        QString shown = text.mid(line.textStart(), line.textLength()).trimmed();
        if (lineNumber == kCaptionLines && line.textStart() + line.textLength() < text.size())
            shown = metrics.elidedText(
                text.mid(line.textStart()).trimmed(), Qt::ElideRight, rect.width());
        painter.drawText(QRect(rect.left(), top, rect.width(), metrics.lineSpacing()),
            Qt::AlignHCenter | Qt::AlignTop, shown);
        top += metrics.lineSpacing();
    }
    layout.endLayout();
}

// Paints an item as a card: the thumbnail above a caption of at most two lines.
class ThumbnailDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        const int captionHeight = kCaptionLines * QFontMetrics(option.font).lineSpacing();
        return { kCellWidth, 2 * kCellPadding + kThumbSide + kCaptionGap + captionHeight };
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QPalette::ColorGroup group
            = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
        const bool selected = option.state & QStyle::State_Selected;
        const bool hovered = option.state & QStyle::State_MouseOver;
        const QRectF card = QRectF(option.rect).adjusted(2.5, 2.5, -2.5, -2.5);
        QColor accent = option.palette.color(group, QPalette::Highlight);
        if (selected || hovered) {
            QColor fill = accent;
            fill.setAlpha(selected ? 60 : 22);
            accent.setAlpha(selected ? 230 : 80);
            painter->setPen(QPen(accent, 1.0));
            painter->setBrush(fill);
            painter->drawRoundedRect(card, 6, 6);
        } else if (option.state & QStyle::State_HasFocus) {
            // The keyboard's place in the list, before anything is chosen.
            accent.setAlpha(140);
            painter->setPen(QPen(accent, 1.0, Qt::DotLine));
            painter->setBrush(Qt::NoBrush);
            painter->drawRoundedRect(card, 6, 6);
        }

        const QRect thumb(option.rect.left() + (option.rect.width() - kThumbSide) / 2,
            option.rect.top() + kCellPadding, kThumbSide, kThumbSide);
        index.data(Qt::DecorationRole).value<QIcon>().paint(painter, thumb);

        const int lineSpacing = QFontMetrics(option.font).lineSpacing();
        const QRect captionRect(option.rect.left() + kCellPadding, thumb.bottom() + 1 + kCaptionGap,
            option.rect.width() - 2 * kCellPadding, kCaptionLines * lineSpacing);
        painter->setFont(option.font);
        painter->setPen(option.palette.color(group, QPalette::Text));
        // ALT texts may run over several lines of the page.
        DrawCaption(*painter, captionRect, index.data(Qt::DisplayRole).toString().simplified(),
            option.font);
        painter->restore();
    }
};

} // namespace

MapChooserDialog::MapChooserDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("FRM_MultiMap");
    setWindowTitle("Please Select");
    resize(580, 490);
    setMinimumSize(360, 300);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* band = new QFrame(this);
    band->setObjectName("MessageBand");
    band->setBackgroundRole(QPalette::Base);
    band->setAutoFillBackground(true);
    auto* bandLayout = new QHBoxLayout(band);
    bandLayout->setContentsMargins(16, 14, 16, 14);
    bandLayout->setSpacing(14);
    auto* icon = new QLabel(band);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    auto* message = new QLabel(kMessage, band);
    message->setObjectName("MessageLabel");
    message->setWordWrap(true);
    message->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    bandLayout->addWidget(icon);
    bandLayout->addWidget(message, 1);
    layout->addWidget(band);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(12, 12, 12, 12);
    body->setSpacing(12);
    layout->addLayout(body, 1);

    m_list = new QListWidget(this);
    m_list->setObjectName("PictureList");
    m_list->setViewMode(QListView::IconMode);
    m_list->setMovement(QListView::Static);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setWrapping(true);
    m_list->setUniformItemSizes(true);
    m_list->setSpacing(4);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setIconSize(QSize(kThumbSide, kThumbSide));
    m_list->setItemDelegate(new ThumbnailDelegate(m_list));
    m_list->viewport()->setAttribute(Qt::WA_Hover);
    body->addWidget(m_list, 1);

    m_note = new QLabel(this);
    m_note->setObjectName("NoteLabel");
    m_note->setWordWrap(true);
    m_note->setTextFormat(Qt::PlainText);
    m_note->hide();
    body->addWidget(m_note);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    m_help = buttons->addButton("Help", QDialogButtonBox::HelpRole);
    m_ok->setObjectName("OkButton");
    m_cancel->setObjectName("CancelButton");
    m_help->setObjectName("HelpButton");
    m_ok->setDefault(true);
    body->addWidget(buttons);

    connect(m_list, &QListWidget::itemSelectionChanged, this, &MapChooserDialog::ChooseSelected);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_chosenKey = ItemKey(*item);
        accept();
    });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &MapChooserDialog::reject);
    connect(m_help, &QPushButton::clicked, this, [this] { emit HelpRequested(kMapChooserHelp); });
    m_list->setFocus();
}

void MapChooserDialog::Fill(
    const std::vector<MapCandidate>& candidates, const std::string& pageFile)
{
    m_chosenKey.clear();
    m_list->clear();
    for (const MapCandidate& candidate : candidates) {
        if (candidate.Kind == kCandidateMapOnly) {
            const std::string& name
                = candidate.MapName.empty() ? candidate.MapId : candidate.MapName;
            AddItem({}, "Map \"" + name + "\" (no picture)", CandidateKey(candidate), pageFile,
                candidate.Charset, kNoPictureNote);
            continue;
        }
        const TagRecord tag = ParseTag(candidate.ImgTag);
        const std::string src = GetAttribute(tag, "SRC", "");
        if (src.empty())
            continue;
        const std::string useMap = GetAttribute(tag, "USEMAP", "");
        AddItem(src, GetAttribute(tag, "ALT", ""), useMap.empty() ? src : useMap, pageFile,
            candidate.Charset, candidate.LooseMatch ? LooseMatchWarning(candidate) : std::string());
    }
    // Filling must not count as a choice.
    m_chosenKey.clear();
}

std::string MapChooserDialog::ItemKey(const QListWidgetItem& item)
{
    return item.data(kKeyRole).toByteArray().toStdString();
}

void MapChooserDialog::reject()
{
    m_chosenKey.clear();
    QDialog::reject();
}

void MapChooserDialog::AddItem(const std::string& src, const std::string& alt,
    const std::string& key, const std::string& pageFile, const std::string& charset,
    const std::string& note)
{
    const ResolvedPath picture = ResolveSrcPath(src, pageFile);
    const QString caption = alt.empty() ? QString(kNoDescription) : ToDisplay(alt, charset);
    // A picture a browser does not connect to its map carries a warning sign.
    const QIcon emblem = note.empty() || src.empty()
        ? QIcon()
        : style()->standardIcon(QStyle::SP_MessageBoxWarning);
    auto* item = new QListWidgetItem(
        ThumbnailIcon(picture.Ok() && !src.empty() ? picture.Path : std::string(),
            devicePixelRatioF(), emblem),
        caption);
    // Keys are compared byte for byte with the page's tags, so they never pass through QString.
    item->setData(kKeyRole, QByteArray::fromStdString(key));
    item->setData(kNoteRole, ToDisplay(note, charset));
    QString tip = QString("<b>%1</b>").arg(caption.toHtmlEscaped());
    if (!src.empty())
        tip += "<br>" + ToDisplay(src, charset).toHtmlEscaped();
    if (!note.empty())
        tip += "<br><i>" + ToDisplay(note, charset).toHtmlEscaped() + "</i>";
    item->setToolTip(tip);
    m_list->addItem(item);
}

void MapChooserDialog::ChooseSelected()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    m_chosenKey = selected.isEmpty() ? std::string() : ItemKey(*selected.first());
    const QString note
        = selected.isEmpty() ? QString() : selected.first()->data(kNoteRole).toString();
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
}

std::string ChooseMapCandidate(const std::vector<MapCandidate>& candidates,
    const std::string& pageFile, QWidget* parent, const std::function<void(int)>& onHelp)
{
    MapChooserDialog dialog(parent);
    if (onHelp)
        QObject::connect(&dialog, &MapChooserDialog::HelpRequested, &dialog, onHelp);
    dialog.Fill(candidates, pageFile);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = dialog.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        dialog.move(frame.topLeft());
    }
    // The caller may be showing the busy pointer; the choice itself wants the ordinary one.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    dialog.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
    if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    return dialog.ChosenKey();
}

} // namespace karvex
