#include "aufgabe.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <thread>

#include "qt_text.h"
#include "screen/captions.h"
#include "screen/colours.h"
#include "window_placement.h"

namespace quarzel {
namespace {

constexpr int kOuterWidth = 560;
constexpr int kOuterHeight = 380;

// Light green and light red behind a case's result: clearly apart, the black text readable.
const QColor kPassedBackground(kPassedColour.red, kPassedColour.green, kPassedColour.blue);
const QColor kFailedBackground(kFailedColour.red, kFailedColour.green, kFailedColour.blue);

QPushButton* button(QWidget* parent, const char* name, const char* caption, const char* tip) {
    auto* b = new QPushButton(utf8Text(caption), parent);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(utf8Text(caption).remove(QLatin1Char('&')));
    b->setToolTip(utf8Text(tip));
    return b;
}

// The texts of a task file are shown as the text they are, never as markup, and a screen
// reader reads a label's text after its fixed name: "Punkte: 4 von 4 Punkten".
QLabel* label(QWidget* parent, const char* name, const char* accessibleName) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setAccessibleName(utf8Text(accessibleName));
    return l;
}

void setLabelText(QLabel* label, const char* accessibleName, const QString& text) {
    label->setText(text);
    label->setAccessibleName(text.isEmpty()
                                 ? utf8Text(accessibleName)
                                 : utf8Text(accessibleName) + QStringLiteral(": ") + text);
}

}  // namespace

TfrmAufgabe::TfrmAufgabe(Workbench& workbench, PromptView& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmAufgabe"));
    setWindowTitle(utf8Text(captions::frmAufgabe));
    // Only the main window's closing ends the program, even while this window is open.
    setAttribute(Qt::WA_QuitOnClose, false);

    m_lbTitle = label(this, "lbTitle", captions::lbTaskTitleName);
    setLabelText(m_lbTitle, captions::lbTaskTitleName, utf8Text(captions::lbTaskNone));
    QFont bold = m_lbTitle->font();
    bold.setBold(true);
    m_lbTitle->setFont(bold);
    m_lbTitle->setWordWrap(true);

    m_twCases = new QTableWidget(0, ColumnCount, this);
    m_twCases->setObjectName(QStringLiteral("twCases"));
    m_twCases->setAccessibleName(utf8Text(captions::twCasesName));
    m_twCases->setHorizontalHeaderLabels(
        {utf8Text(captions::colCase), utf8Text(captions::colPoints), utf8Text(captions::colInputs),
         utf8Text(captions::colResult)});
    m_twCases->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_twCases->setSelectionMode(QAbstractItemView::SingleSelection);
    m_twCases->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_twCases->verticalHeader()->hide();
    for (const int column : {ColName, ColPoints, ColInputs}) {
        m_twCases->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    m_twCases->horizontalHeader()->setSectionResizeMode(ColResult, QHeaderView::Stretch);
    m_twCases->setWordWrap(false);

    m_lbPoints = label(this, "lbPoints", captions::lbPointsName);
    m_lbInputs = label(this, "lbInputs", captions::lbInputsName);
    m_lbInputs->setWordWrap(true);

    m_btLoad = button(this, "btLoad", captions::btTaskLoad, captions::btTaskLoadTip);
    m_btTest = button(this, "btTest", captions::btTaskTest, captions::btTaskTestTip);
    m_btTakeOver =
        button(this, "btTakeOver", captions::btTaskTakeOver, captions::btTaskTakeOverTip);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_btLoad);
    buttons->addWidget(m_btTest);
    buttons->addWidget(m_btTakeOver);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lbTitle);
    layout->addWidget(m_twCases, 1);
    layout->addWidget(m_lbPoints);
    layout->addWidget(m_lbInputs);
    layout->addLayout(buttons);

    connect(m_btLoad, &QPushButton::clicked, this,
            [this] { command(&grading::TaskSession::chooseAndLoad); });
    connect(m_btTest, &QPushButton::clicked, this,
            [this] { command(&grading::TaskSession::test); });
    connect(m_btTakeOver, &QPushButton::clicked, this,
            [this] { command(&grading::TaskSession::takeOver); });
    connect(m_twCases, &QTableWidget::cellDoubleClicked, this, [this](int row, int /*column*/) {
        m_session->select(row);
        command(&grading::TaskSession::takeOver);
    });
    connect(m_twCases, &QTableWidget::itemSelectionChanged, this,
            [this] { m_session->select(selectedRow()); });

    resize(kOuterWidth, kOuterHeight);
    grading::TaskPanelView& view = *this;
    m_session.emplace(workbench, prompts, view, std::max(1U, std::thread::hardware_concurrency()));
}

void TfrmAufgabe::toggle() {
    if (isVisible()) {
        hide();
    } else {
        show();
        raise();
    }
}

void TfrmAufgabe::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_placed) {
        return;  // afterwards the place and the size are the user's
    }
    m_placed = true;
    resize(clientSizeFor(*this, QSize(kOuterWidth, kOuterHeight)));
    // Beside the main window where the screen has room. Else over the lower part of the
    // table and the command buttons: the program, the registers and the run panel that the
    // learner steps with stay in sight.
    const QWidget* owner = parentWidget();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (owner == nullptr || screen == nullptr) {
        return;
    }
    const QRect work = screen->availableGeometry();
    const QRect main = owner->frameGeometry();
    if (main.right() + kOuterWidth < work.right()) {
        move(main.right() + 1, main.top() + 40);
        return;
    }
    const int runPanelWidth = main.width() * 17 / 100;  // the right column is 15 % of the width
    move(std::max(work.left(), main.right() + 1 - runPanelWidth - kOuterWidth),
         std::max(work.top(), main.bottom() + 1 - kOuterHeight - 40));
}

void TfrmAufgabe::command(void (grading::TaskSession::*call)()) {
    if (beforeCommand) {
        beforeCommand();
    }
    ((*m_session).*call)();
}

void TfrmAufgabe::showTask(const std::string& title, const std::vector<CaseRow>& cases) {
    const QSignalBlocker quiet(m_twCases);  // the session chooses the selected case itself
    setLabelText(m_lbTitle, captions::lbTaskTitleName, utf8Text(title));
    setLabelText(m_lbPoints, captions::lbPointsName, QString());
    setLabelText(m_lbInputs, captions::lbInputsName, QString());
    m_twCases->clearContents();
    m_twCases->setRowCount(static_cast<int>(cases.size()));
    for (int row = 0; row < m_twCases->rowCount(); ++row) {
        const CaseRow& c = cases[static_cast<std::size_t>(row)];
        m_twCases->setItem(row, ColName, new QTableWidgetItem(utf8Text(c.name)));
        auto* points = new QTableWidgetItem(QString::number(c.points));
        points->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_twCases->setItem(row, ColPoints, points);
        m_twCases->setItem(row, ColInputs, new QTableWidgetItem(utf8Text(c.inputs)));
        m_twCases->setItem(row, ColResult, new QTableWidgetItem());
    }
}

void TfrmAufgabe::showSelection(int row) {
    const QSignalBlocker quiet(m_twCases);
    if (row < 0) {
        m_twCases->clearSelection();
    } else {
        m_twCases->selectRow(row);
    }
}

void TfrmAufgabe::showCaseResult(int row, bool passed, const std::string& text) {
    QTableWidgetItem* item = m_twCases->item(row, ColResult);
    item->setText(utf8Text(text));
    // A tooltip would take a text that looks like markup for markup.
    item->setToolTip(Qt::convertFromPlainText(item->text()));
    item->setBackground(passed ? kPassedBackground : kFailedBackground);
}

void TfrmAufgabe::showPoints(const std::string& text) {
    setLabelText(m_lbPoints, captions::lbPointsName, utf8Text(text));
}

void TfrmAufgabe::showTakenOver(const std::string& text) {
    setLabelText(m_lbInputs, captions::lbInputsName, utf8Text(text));
}

void TfrmAufgabe::enableButtons(bool test, bool takeOver) {
    m_btTest->setEnabled(test);
    m_btTakeOver->setEnabled(takeOver);
}

int TfrmAufgabe::selectedRow() const {
    const QList<QTableWidgetItem*> items = m_twCases->selectedItems();
    return items.isEmpty() ? -1 : items.constFirst()->row();
}

}  // namespace quarzel
