#include "trace_model.h"

#include <algorithm>

#include "files/trace_table.h"
#include "qt_text.h"
#include "session/workbench.h"

namespace quarzel {

TraceTableModel::TraceTableModel(const Workbench& workbench, QObject* parent)
    : QAbstractTableModel(parent), m_workbench(workbench) {}

int TraceTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || m_first > m_last ? 0 : static_cast<int>(m_last - m_first + 1);
}

int TraceTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kTraceColumnCount);
}

QVariant TraceTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole) {
        return {};
    }
    const std::uint64_t step = m_first + static_cast<std::uint64_t>(index.row());
    const StepSpan held = m_workbench.traceSpan();
    if (step < held.first || step > held.last) {
        return {};  // gone in the core, not yet from the view (until the next sync)
    }
    return cachedRow(step).texts[static_cast<std::size_t>(index.column())];
}

const TraceTableModel::CachedRow& TraceTableModel::cachedRow(std::uint64_t step) const {
    CachedRow& slot = m_cache[step % kCachedRows];
    if (slot.step != step) {
        const TraceTexts texts = m_workbench.traceRow(step);
        for (std::size_t c = 0; c < kTraceColumnCount; ++c) {
            slot.texts[c] = toQString(texts[c]);
        }
        slot.step = step;
    }
    return slot;
}

void TraceTableModel::forget(std::uint64_t first, std::uint64_t last) {
    for (CachedRow& slot : m_cache) {
        if (slot.step >= first && slot.step <= last) {
            slot.step = 0;
        }
    }
}

QVariant TraceTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return QVariant();  // the column "Schritt" numbers the rows
    }
    if (section < 0 || section >= static_cast<int>(kTraceColumnCount)) {
        return {};
    }
    return toQString(traceColumns()[static_cast<std::size_t>(section)]);
}

void TraceTableModel::rowsRemoved(std::uint64_t first, std::uint64_t last) {
    // The core takes rows from the front (the journal forgot them), from the back ("Zurück"),
    // or all of them (a new run); a step taken back and anew has a row of new texts.
    forget(first, last);
    if (first <= std::max(m_validFrom, m_first)) {
        m_validFrom = std::max(m_validFrom, last + 1);
    } else {
        m_validTo = std::min(m_validTo, first - 1);
    }
}

TraceTableModel::Synced TraceTableModel::sync() {
    const StepSpan held = m_workbench.traceSpan();
    // The rows that stay: told of, not marked gone, still held.
    const std::uint64_t keepFirst = std::max({m_first, m_validFrom, held.first});
    const std::uint64_t keepLast = std::min({m_last, m_validTo, held.last});
    m_validFrom = 1;
    m_validTo = UINT64_MAX;
    const auto row = [this](std::uint64_t step) { return static_cast<int>(step - m_first); };
    if (keepFirst > keepLast) {
        const bool hadRows = m_first <= m_last;
        if (hadRows) {
            beginRemoveRows({}, 0, rowCount() - 1);
            m_last = m_first - 1;
            endRemoveRows();
        }
        if (held.empty()) {
            return {false, !hadRows};
        }
        beginInsertRows({}, 0, static_cast<int>(held.last - held.first));
        m_first = held.first;
        m_last = held.last;
        endInsertRows();
        return {true, !hadRows};
    }
    Synced synced;
    if (m_last > keepLast) {
        beginRemoveRows({}, row(keepLast + 1), row(m_last));
        m_last = keepLast;
        endRemoveRows();
        synced.keptAll = false;
    }
    if (m_first < keepFirst) {
        beginRemoveRows({}, 0, row(keepFirst - 1));
        m_first = keepFirst;
        endRemoveRows();
        synced.keptAll = false;
    }
    if (held.last > m_last) {
        beginInsertRows({}, rowCount(), rowCount() + static_cast<int>(held.last - m_last) - 1);
        m_last = held.last;
        endInsertRows();
        synced.cameIn = true;
    }
    return synced;
}

void TraceTableModel::reload() {
    beginResetModel();
    forget(0, UINT64_MAX);
    const StepSpan held = m_workbench.traceSpan();
    m_first = held.first;
    m_last = held.last;
    m_validFrom = 1;
    m_validTo = UINT64_MAX;
    endResetModel();
}

}  // namespace quarzel
