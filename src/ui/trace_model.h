// The protocol ("Ablaufprotokoll") as a Qt item model: one row per step whose row the workbench
// holds, its texts asked for only when a row is drawn, so that 100 000 rows cost no more than
// the few on the screen. The texts of the rows drawn last are kept, so that a row's ten cells
// (and each repaint of the rows in sight) make the row's texts once.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <cstdint>

#include "files/trace_table.h"

namespace quarzel {

class Workbench;

class TraceTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit TraceTableModel(const Workbench& workbench, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // What the core said since the last sync: the rows of these steps went away. Rows are
    // only marked here; sync() tells the views.
    void rowsRemoved(std::uint64_t first, std::uint64_t last);
    // What a sync changed: whether rows came in, and whether every row there before stayed as
    // it was (rows came in only after the last one, if at all).
    struct Synced {
        bool cameIn = false;
        bool keptAll = true;
    };
    // Brings the rows to the workbench's protocol: the rows marked gone leave, the rows of the
    // steps after the newest row that stays come in.
    Synced sync();
    // Shows the workbench's protocol anew, without rows marked gone.
    void reload();

  private:
    // Texts of a step's row; `step` 0 marks a free slot (steps count from 1).
    struct CachedRow {
        std::uint64_t step = 0;
        std::array<QString, kTraceColumnCount> texts;
    };
    // Enough slots for the rows of a tall window; a step's slot is its number modulo the size.
    static constexpr std::size_t kCachedRows = 256;

    const CachedRow& cachedRow(std::uint64_t step) const;
    // A row taken back or forgotten loses its texts at once: the step may be taken anew.
    void forget(std::uint64_t first, std::uint64_t last);

    const Workbench& m_workbench;
    mutable std::array<CachedRow, kCachedRows> m_cache;
    // The steps whose rows the views were last told of (first > last: none).
    std::uint64_t m_first = 1;
    std::uint64_t m_last = 0;
    // Of these, the rows that still hold the same step's texts: those of steps before
    // m_validFrom or after m_validTo are gone, or belong to a step taken anew.
    std::uint64_t m_validFrom = 1;
    std::uint64_t m_validTo = UINT64_MAX;
};

}  // namespace quarzel
