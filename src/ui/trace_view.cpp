#include "trace_view.h"

#include <QScopeGuard>
#include <QScrollBar>
#include <algorithm>

#include "trace_model.h"

namespace quarzel {

TraceTableView::TraceTableView(QWidget* parent) : QTableView(parent) {
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { m_scrolledAway = true; });
}

void TraceTableView::syncAndFollow(TraceTableModel& model) {
    QWidget* area = viewport();
    // A layout still waiting from elsewhere (a resize, a reload) is made and drawn as always.
    executeDelayedItemsLayout();
    // At the newest row the table follows the run. A learner who scrolled up to read keeps the
    // rows in sight, and the table draws as Qt's own would.
    const QScrollBar* bar = verticalScrollBar();
    if (bar->value() < bar->maximum()) {
        model.sync();
        return;
    }
    const int before = model.rowCount();
    // The rows' coming in and the layout of the new row count would each update the whole
    // viewport; those updates are held back, and what they stood for is updated below.
    TraceTableModel::Synced synced;
    {
        area->setAttribute(Qt::WA_UpdatesDisabled, true);
        const auto letGo =
            qScopeGuard([area] { area->setAttribute(Qt::WA_UpdatesDisabled, false); });
        synced = model.sync();
        executeDelayedItemsLayout();
    }
    if (!synced.keptAll) {
        area->update();  // rows left or came anew: every row in sight may show another step
    }
    if (!synced.cameIn) {
        return;
    }
    // Scrolled by the learner since the table last followed, what the screen shows is not
    // what the partial update below assumes: everything in sight is drawn anew.
    const bool scrolledAway = m_scrolledAway;
    scrollToBottom();  // moves what is drawn of the rows that stay
    m_scrolledAway = false;
    if (scrolledAway) {
        area->update();
    } else if (synced.keptAll) {
        const int top = std::max(0, visualRect(model.index(before, 0)).top());
        area->update(0, top, area->width(), area->height() - top);
    }
}

}  // namespace quarzel
