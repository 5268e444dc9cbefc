#include "trace_delegate.h"

#include <QApplication>
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

}  // namespace

TraceCellDelegate::TraceCellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

TraceCellDelegate::~TraceCellDelegate() = default;

const TraceCellDelegate::Kept& TraceCellDelegate::kept(const QString& text,
                                                       const QFont& font) const {
    if (!(font == m_font) || m_kept.size() >= kKeptTexts) {
        m_kept.clear();
        m_font = font;
    }
    auto found = m_kept.find(text);
    if (found != m_kept.end()) {
        return found->second;
    }
    // Laid out as the style lays out a cell's text: one line, left to right, no wrap.
    Kept k;
    k.layout = std::make_unique<QTextLayout>(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::ManualWrap);
    option.setTextDirection(Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    k.layout->setTextOption(option);
    k.layout->setCacheEnabled(true);
    k.layout->beginLayout();
    QTextLine line = k.layout->createLine();
    line.setLineWidth(1e6);
    line.setPosition(QPointF(0, 0));
    k.layout->endLayout();
    k.width = line.naturalTextWidth();
    k.height = qRound(line.height());
    return m_kept.emplace(text, std::move(k)).first->second;
}

void TraceCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    const QVariant display = index.data(Qt::DisplayRole);
    if ((option.state & kStyledStates) != 0 || option.direction != Qt::LeftToRight ||
        display.userType() != QMetaType::QString) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QString text = display.toString();
    if (text.isEmpty()) {
        return;  // the style draws nothing on an unselected cell without text
    }
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = option.rect.adjusted(margin, 0, -margin, 0);
    const Kept& k = kept(text, option.font);
    if (k.width > textRect.width()) {
        QStyledItemDelegate::paint(painter, option, index);  // cut with "…" by the style
        return;
    }
    QPalette::ColorGroup group =
        (option.state & QStyle::State_Enabled) != 0 ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && (option.state & QStyle::State_Active) == 0) {
        group = QPalette::Inactive;
    }
    // Centred in the cell's height as the style centres its text's layout.
    const QRect placed = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignVCenter,
                                             QSize(textRect.width(), k.height), textRect);
    painter->save();
    painter->setClipRect(option.rect);
    painter->setPen(option.palette.color(group, QPalette::Text));
    k.layout->draw(painter, QPointF(textRect.x(), placed.top()));
    painter->restore();
}

}  // namespace quarzel
