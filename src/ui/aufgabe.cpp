#include "aufgabe.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <thread>

#include "common/views.h"
#include "grading/grader.h"
#include "qt_text.h"
#include "screen/captions.h"
#include "screen/colours.h"
#include "session/workbench.h"
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

}  // namespace

TfrmAufgabe::TfrmAufgabe(Workbench& workbench, PromptView& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), m_workbench(workbench), m_prompts(prompts) {
    setObjectName(QStringLiteral("frmAufgabe"));
    setWindowTitle(utf8Text(captions::frmAufgabe));
    // Only the main window's closing ends the program, even while this window is open.
    setAttribute(Qt::WA_QuitOnClose, false);

    m_lbTitle = new QLabel(utf8Text(captions::lbTaskNone), this);
    m_lbTitle->setObjectName(QStringLiteral("lbTitle"));
    m_lbTitle->setAccessibleName(utf8Text(captions::lbTaskTitleName));
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

    m_lbPoints = new QLabel(this);
    m_lbPoints->setObjectName(QStringLiteral("lbPoints"));
    m_lbPoints->setAccessibleName(utf8Text(captions::lbPointsName));
    m_lbInputs = new QLabel(this);
    m_lbInputs->setObjectName(QStringLiteral("lbInputs"));
    m_lbInputs->setAccessibleName(utf8Text(captions::lbInputsName));
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

    connect(m_btLoad, &QPushButton::clicked, this, [this] { btLoadClick(); });
    connect(m_btTest, &QPushButton::clicked, this, [this] { btTestClick(); });
    connect(m_btTakeOver, &QPushButton::clicked, this, [this] { btTakeOverClick(); });
    connect(m_twCases, &QTableWidget::cellDoubleClicked, this,
            [this](int /*row*/, int /*column*/) { btTakeOverClick(); });
    connect(m_twCases, &QTableWidget::itemSelectionChanged, this, [this] { updateButtons(); });

    resize(kOuterWidth, kOuterHeight);
    updateButtons();
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

void TfrmAufgabe::btLoadClick() {
    if (beforeCommand) {
        beforeCommand();
    }
    std::optional<std::string> path;
    m_workbench.guard([&] { path = m_prompts.chooseFileToOpen(grading::kTaskFileFilter); });
    if (path) {
        loadTask(*path);
    }
}

bool TfrmAufgabe::loadTask(const std::string& path) {
    grading::TaskLoad load;
    m_workbench.guard([&] { load = grading::loadTask(path); });
    if (!load.task) {
        if (!load.problem.empty()) {
            m_prompts.showMessage(fromUtf8(load.problem), grading::kTaskBoxCaption,
                                  MessageIcon::Error);
        }
        return false;
    }
    m_task = std::move(load.task);
    showTask();
    return true;
}

void TfrmAufgabe::showTask() {
    m_lbTitle->setText(utf8Text(m_task->title));
    m_lbPoints->clear();
    m_lbInputs->clear();
    m_twCases->clearContents();
    m_twCases->setRowCount(static_cast<int>(m_task->cases.size()));
    for (int row = 0; row < m_twCases->rowCount(); ++row) {
        const grading::TaskCase& c = m_task->cases[static_cast<std::size_t>(row)];
        m_twCases->setItem(row, ColName, new QTableWidgetItem(utf8Text(c.name)));
        auto* points = new QTableWidgetItem(QString::number(c.points));
        points->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_twCases->setItem(row, ColPoints, points);
        m_twCases->setItem(row, ColInputs, new QTableWidgetItem(utf8Text(grading::inputsText(c))));
        m_twCases->setItem(row, ColResult, new QTableWidgetItem());
    }
    if (m_twCases->rowCount() > 0) {
        m_twCases->selectRow(0);
    }
    updateButtons();
}

void TfrmAufgabe::btTestClick() {
    if (!m_task) {
        return;
    }
    if (beforeCommand) {
        beforeCommand();
    }
    // Every case on a workbench of its own: the main window's run, registers, table and flags
    // stay exactly as they are.
    const grading::Submission program{"Programm", m_workbench.programText(), ""};
    std::vector<grading::ProgramGrade> grades;
    m_workbench.guard([&] {
        grades = grading::gradeAll(*m_task, {program},
                                   std::max(1U, std::thread::hardware_concurrency()));
    });
    if (grades.size() != 1) {
        return;  // the error has been shown
    }
    const grading::ProgramGrade& grade = grades.front();
    for (int row = 0; row < m_twCases->rowCount(); ++row) {
        const grading::CaseGrade& c = grade.cases[static_cast<std::size_t>(row)];
        QTableWidgetItem* item = m_twCases->item(row, ColResult);
        item->setText(utf8Text(grading::caseResultText(c)));
        item->setToolTip(item->text());
        item->setBackground(c.passed() ? kPassedBackground : kFailedBackground);
    }
    m_lbPoints->setText(utf8Text(grading::pointsText(grade.points, m_task->totalPoints())));
}

void TfrmAufgabe::btTakeOverClick() {
    const int row = selectedCase();
    if (!m_task || row < 0) {
        return;
    }
    if (beforeCommand) {
        beforeCommand();
    }
    const grading::TaskCase& c = m_task->cases[static_cast<std::size_t>(row)];
    std::optional<DataTable> start;
    m_workbench.guard([&] { start = grading::caseStartTable(c); });
    if (start && m_workbench.takeOverData(*start)) {
        // The learner types these while stepping through the case.
        m_lbInputs->setText(utf8Text(grading::takenOverText(c)));
    }
}

int TfrmAufgabe::selectedCase() const {
    const QList<QTableWidgetItem*> items = m_twCases->selectedItems();
    return items.isEmpty() ? -1 : items.constFirst()->row();
}

void TfrmAufgabe::updateButtons() {
    m_btTest->setEnabled(m_task.has_value() && !m_task->cases.empty());
    m_btTakeOver->setEnabled(m_task.has_value() && selectedCase() >= 0);
}

}  // namespace quarzel
