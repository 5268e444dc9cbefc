#include "protocol_window.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <cmath>

#include "files/trace_table.h"
#include "qt_text.h"
#include "screen/captions.h"
#include "session/workbench.h"
#include "trace_delegate.h"
#include "trace_model.h"
#include "trace_view.h"

namespace quarzel {

namespace {

QPushButton* button(QWidget* parent, const char* name, const char* caption, const char* tip) {
    auto* b = new QPushButton(utf8Text(caption), parent);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(utf8Text(caption).remove(QLatin1Char('&')));
    b->setToolTip(utf8Text(tip));
    return b;
}

}  // namespace

TfrmProtocol::TfrmProtocol(Workbench& workbench, QWidget* parent)
    : QWidget(parent, Qt::Window), m_workbench(workbench) {
    setObjectName(QStringLiteral("frmProtocol"));
    setWindowTitle(utf8Text(captions::frmProtocol));
    // Only the main window's closing ends the program, even while this window is open.
    setAttribute(Qt::WA_QuitOnClose, false);

    // The run panel has no room left for these at 800 x 600: they head the protocol.
    auto* lbHistory = new QLabel(utf8Text(captions::lbHistory), this);
    lbHistory->setObjectName(QStringLiteral("lbHistory"));
    m_slHistory = new QSlider(Qt::Horizontal, this);
    m_slHistory->setObjectName(QStringLiteral("slHistory"));
    m_slHistory->setAccessibleName(utf8Text(captions::slHistoryName));
    m_slHistory->setToolTip(utf8Text(captions::slHistoryTip));
    // A drag moves the run once, where it is let go: moving forward replays every step between.
    m_slHistory->setTracking(false);
    m_slHistory->setEnabled(false);
    lbHistory->setBuddy(m_slHistory);
    m_btBackToBreakpoint = button(this, "btBackToBreakpoint", captions::btBackToBreakpoint,
                                  captions::btBackToBreakpointTip);
    m_btBackToBreakpoint->setEnabled(false);

    m_model = new TraceTableModel(workbench, this);
    m_tvTrace = new TraceTableView(this);
    m_tvTrace->setObjectName(QStringLiteral("tvTrace"));
    m_tvTrace->setAccessibleName(utf8Text(captions::tvTraceName));
    m_tvTrace->setModel(m_model);
    m_tvTrace->setItemDelegate(new TraceCellDelegate(m_tvTrace));
    m_tvTrace->setShowGrid(false);  // the delegate draws it
    m_tvTrace->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tvTrace->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tvTrace->setWordWrap(false);
    m_tvTrace->verticalHeader()->hide();
    // Fixed row heights and column widths: nothing measures 100 000 rows' texts.
    m_tvTrace->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_tvTrace->verticalHeader()->setDefaultSectionSize(m_tvTrace->fontMetrics().height() + 4);
    ensurePolished();  // the style's measures as they will be shown
    QHeaderView* columns = m_tvTrace->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setDefaultSectionSize(64);
    // A cell shows its text between margins of the focus frame's width and a pixel, and the
    // grid line; a text wider by a fraction of a pixel is cut with "…".
    const int cellMargins =
        2 * (m_tvTrace->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 1;
    const int accessWidth =
        static_cast<int>(std::ceil(QFontMetricsF(m_tvTrace->font())
                                       .horizontalAdvance(QLatin1String(traceAccessText(true))))) +
        cellMargins + 1;
    const int lastColumn = columns->count() - 1;
    int tableWidth = 0;
    for (int c = 0; c <= lastColumn; ++c) {
        // No column narrower than its caption, "Befehl" (the line's text) wider, "Zugriff" as
        // wide as its longer word.
        const int least = c == 2 ? 140 : c == lastColumn ? std::max(64, accessWidth) : 64;
        const int width = std::max(least, columns->sectionSizeHint(c));
        columns->resizeSection(c, width);
        tableWidth += width;
    }
    columns->setStretchLastSection(true);

    m_btExport = button(this, "btTraceExport", captions::btTraceExport, captions::btTraceExportTip);
    m_exportMenu = new QMenu(m_btExport);
    m_exportMenu->setObjectName(QStringLiteral("pmTraceExport"));
    QAction* csv = m_exportMenu->addAction(utf8Text(captions::actTraceCsv));
    QAction* html = m_exportMenu->addAction(utf8Text(captions::actTraceHtml));
    m_btExport->setMenu(m_exportMenu);

    auto* top = new QHBoxLayout;
    top->addWidget(lbHistory);
    top->addWidget(m_slHistory, 1);
    top->addWidget(m_btBackToBreakpoint);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(m_btExport);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_tvTrace, 1);
    layout->addLayout(bottom);
    // Every column at its width, no scrolling sideways.
    const QMargins margins = layout->contentsMargins();
    resize(tableWidth + m_tvTrace->verticalScrollBar()->sizeHint().width() +
               2 * m_tvTrace->frameWidth() + margins.left() + margins.right(),
           420);

    connect(m_slHistory, &QSlider::valueChanged, this, [this](int value) {
        const std::uint64_t step = m_historyOldest + static_cast<std::uint64_t>(value);
        command([this, step] { m_workbench.historyMove(step); });
    });
    connect(m_btBackToBreakpoint, &QPushButton::clicked, this,
            [this] { command([this] { m_workbench.btBackToBreakpointClick(); }); });
    connect(csv, &QAction::triggered, this,
            [this] { command([this] { m_workbench.btTraceExportClick(TraceFormat::Csv); }); });
    connect(html, &QAction::triggered, this,
            [this] { command([this] { m_workbench.btTraceExportClick(TraceFormat::Html); }); });
}

void TfrmProtocol::command(const std::function<void()>& run) {
    if (beforeCommand) {
        beforeCommand();
    }
    run();
}

void TfrmProtocol::toggle() {
    if (isVisible()) {
        hide();
    } else {
        show();
        raise();
    }
}

void TfrmProtocol::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    catchUp();
}

void TfrmProtocol::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && onScreen() &&
        (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized) != 0) {
        catchUp();
    }
}

void TfrmProtocol::catchUp() {
    // Hidden or minimised, the table heard of nothing: it starts from the workbench's protocol.
    m_model->reload();
    m_tvTrace->scrollToBottom();
}

void TfrmProtocol::rowsRemoved(std::uint64_t first, std::uint64_t last) {
    // Marked even unseen (cheap): no kept text of a step taken back outlives it.
    m_model->rowsRemoved(first, last);
}

QTableView* TfrmProtocol::table() const {
    return m_tvTrace;
}

void TfrmProtocol::syncRows() {
    if (onScreen()) {
        m_tvTrace->syncAndFollow(*m_model);
    }
}

void TfrmProtocol::showHistory(const HistoryRange& range) {
    const QSignalBlocker quiet(m_slHistory);
    m_historyOldest = range.oldest;
    m_slHistory->setRange(0, static_cast<int>(range.newest - range.oldest));
    m_slHistory->setValue(static_cast<int>(range.current - range.oldest));
    m_slHistory->setEnabled(range.movable && range.newest > range.oldest);
    m_btBackToBreakpoint->setEnabled(range.movable && range.current > range.oldest);
}

}  // namespace quarzel
