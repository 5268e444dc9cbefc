#include "trace_delegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>
#include <QTextOption>

namespace quarzel {

namespace {

// Several screens of rows at a run's pace before the layouts are made anew; a few MB at most.
constexpr std::size_t kKeptTexts = 4096;

// What makes the style draw a cell otherwise than as its plain text on the base colour.
constexpr QStyle::State kStyledStates = QStyle::State_Selected | QStyle::State_HasFocus |
                                        QStyle::State_MouseOver | QStyle::State_Editing;

// Laid out as the style lays out a cell's text: one line, left to right, no wrap.
std::unique_ptr<QTextLayout> laidOut(const QString& text, const QFont& font, qreal* width,
                                     int* height) {
    auto layout = std::make_unique<QTextLayout>(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::ManualWrap);
    option.setTextDirection(Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    line.setLineWidth(1e6);
    line.setPosition(QPointF(0, 0));
    layout->endLayout();
    *width = line.naturalTextWidth();
    *height = qRound(line.height());
    return layout;
}

}  // namespace

TraceCellDelegate::TraceCellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

TraceCellDelegate::~TraceCellDelegate() = default;

TraceCellDelegate::Kept& TraceCellDelegate::kept(const QString& text, const QFont& font) const {
    if (!(font == m_font) || m_kept.size() >= kKeptTexts) {
        m_kept.clear();
        m_font = font;
    }
    auto found = m_kept.find(text);
    if (found != m_kept.end()) {
        return found->second;
    }
    Kept k;
    k.layout = laidOut(text, font, &k.width, &k.height);
    return m_kept.emplace(text, std::move(k)).first->second;
}

const QTextLayout& TraceCellDelegate::cutLayout(Kept& k, const QString& text, const QFont& font,
                                                Qt::TextElideMode mode, int width) const {
    if (k.cutTo != width || k.cutMode != mode) {
        qreal cutWidth = 0;
        k.cut = laidOut(QFontMetrics(font).elidedText(text, mode, width), font, &cutWidth,
                        &k.cutHeight);
        k.cutTo = width;
        k.cutMode = mode;
    }
    return *k.cut;
}

void TraceCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    drawGridLines(painter, option, style);
    // The cell within its grid lines, as the table gives it when it draws the grid itself.
    const QRect cell = option.rect.adjusted(0, 0, -1, -1);
    const QVariant display = index.data(Qt::DisplayRole);
    if ((option.state & kStyledStates) != 0 || option.direction != Qt::LeftToRight ||
        (option.features & QStyleOptionViewItem::WrapText) != 0 ||
        display.userType() != QMetaType::QString) {
        QStyleOptionViewItem within = option;
        within.rect = cell;
        QStyledItemDelegate::paint(painter, within, index);
        return;
    }
    const QString text = display.toString();
    if (text.isEmpty()) {
        return;  // the style draws nothing on an unselected cell without text
    }
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = cell.adjusted(margin, 0, -margin, 0);
    Kept& k = kept(text, option.font);
    const bool fits = k.width <= textRect.width();
    const QTextLayout& shown =
        fits ? *k.layout : cutLayout(k, text, option.font, option.textElideMode, textRect.width());
    const int height = fits ? k.height : k.cutHeight;
    QPalette::ColorGroup group =
        (option.state & QStyle::State_Enabled) != 0 ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && (option.state & QStyle::State_Active) == 0) {
        group = QPalette::Inactive;
    }
    // Centred in the cell's height as the style centres its text's layout.
    const QRect placed = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignVCenter,
                                             QSize(textRect.width(), height), textRect);
    painter->save();
    painter->setClipRect(cell);
    painter->setPen(option.palette.color(group, QPalette::Text));
    shown.draw(painter, QPointF(textRect.x(), placed.top()));
    painter->restore();
}

void TraceCellDelegate::drawGridLines(QPainter* painter, const QStyleOptionViewItem& option,
                                      const QStyle* style) const {
    // The table's own grid is a line drawn (through the stroker) for every row and column at
    // every repaint, which cost more than the cells' texts; here it is two filled rectangles,
    // the same pixels: the cell's last column and its last row, in the style's grid colour.
    const qint64 palette = option.palette.cacheKey();
    if (palette != m_gridPalette || style != m_gridStyle) {
        m_gridColour = QColor::fromRgba(static_cast<QRgb>(
            style->styleHint(QStyle::SH_Table_GridLineColor, &option, option.widget)));
        m_gridPalette = palette;
        m_gridStyle = style;
    }
    const QRect& r = option.rect;
    painter->fillRect(QRect(r.right(), r.top(), 1, r.height()), m_gridColour);
    painter->fillRect(QRect(r.left(), r.bottom(), r.width() - 1, 1), m_gridColour);
}

}  // namespace quarzel
