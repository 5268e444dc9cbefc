// The protocol's cells, drawn as the style draws them but from texts laid out once and kept, so
// that drawing the rows again (at every pace of a run, at every scroll) shapes no text, and with
// the table's grid lines, which the table (its own grid off) would draw far more dearly.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStyledItemDelegate>
#include <memory>
#include <unordered_map>

class QStyle;
class QTextLayout;

namespace quarzel {

class TraceCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    explicit TraceCellDelegate(QObject* parent = nullptr);
    ~TraceCellDelegate() override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // How many texts are kept laid out now.
    std::size_t keptTexts() const { return m_kept.size(); }

  private:
    struct Kept {
        std::unique_ptr<QTextLayout> layout;
        qreal width = 0;
        int height = 0;
        // The text cut with "…" to the width `cutTo` as the style cuts it (-1: not yet).
        std::unique_ptr<QTextLayout> cut;
        int cutTo = -1;
        Qt::TextElideMode cutMode = Qt::ElideRight;
        int cutHeight = 0;
    };
    Kept& kept(const QString& text, const QFont& font) const;
    void drawGridLines(QPainter* painter, const QStyleOptionViewItem& option,
                       const QStyle* style) const;
    const QTextLayout& cutLayout(Kept& k, const QString& text, const QFont& font,
                                 Qt::TextElideMode mode, int width) const;

    // Keyed by the text itself: a cell whose text changes finds the new text's layout, never the
    // old one. Forgotten all at once when it grows past its bound or the font changes.
    mutable std::unordered_map<QString, Kept> m_kept;
    mutable QFont m_font;
    // The style's grid colour, asked again when the palette or the style changes.
    mutable QColor m_gridColour;
    mutable qint64 m_gridPalette = -1;
    mutable const QStyle* m_gridStyle = nullptr;
};

}  // namespace quarzel
