#include "MainForm.h"

#include <QCloseEvent>
#include <QDate>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <exception>

#include "Input.h"
#include "aufgabe.h"
#include "common/central_handler.h"
#include "common/number_text.h"
#include "data_grid.h"
#include "data_table_model.h"
#include "files/built_in_examples.h"
#include "hilfe.h"
#include "memory_view.h"
#include "program_editor.h"
#include "protocol_window.h"
#include "qt_prompts.h"
#include "qt_text.h"
#include "run_report.h"
#include "screen/captions.h"
#include "screen/layout_fields.h"
#include "screen/learn_layout.h"
#include "screen/main_layout.h"
#include "screen/run_timers.h"
#include "sentence_line.h"
#include "session/workbench.h"
#include "window_placement.h"
#include "work_keeper.h"

namespace quarzel {
namespace {

// The window's font. A machine without it gets the metric twin from fonts-liberation, or at
// least some sans serif.
QFont windowFont(int pixelSize, bool bold = false) {
    QFont font(QStringList{QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                           QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// Program and table: the columns of a program only line up in a fixed-pitch font.
QFont courierFont(int pixelSize) {
    QFont font(QStringList{QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                           QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(pixelSize);
    return font;
}

void place(QWidget* widget, const LayoutRect& r) {
    widget->setGeometry(r.left, r.top, r.width, r.height);
}

QGroupBox* groupBox(QWidget* parent, const char* name, const QString& caption) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    if (caption.isEmpty()) {
        box->setAccessibleName(utf8Text(captions::gbFile));
    }
    return box;
}

// Disabled, but the learner has to read the values: the text stays as dark as when enabled.
void keepTextReadable(QLineEdit* field) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text,
                     palette.color(QPalette::Active, QPalette::Text));
    field->setPalette(palette);
}

QLineEdit* registerField(QGroupBox* group, const char* name, const QString& text) {
    auto* field = new QLineEdit(text, group);
    field->setObjectName(QLatin1String(name));
    field->setAccessibleName(group->title());
    field->setFont(windowFont(13, true));
    field->setEnabled(false);
    keepTextReadable(field);
    field->resize(field->width(), kRegisterFieldHeight);
    return field;
}

QLineEdit* hoverField(QGroupBox* group, const char* name, const QString& tip, int width) {
    auto* field = new QLineEdit(group);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    field->setEnabled(false);
    field->setFrame(false);
    keepTextReadable(field);
    field->setToolTip(tip);
    field->setAccessibleName(tip);
    field->resize(width, kHoverFieldHeight);
    return field;
}

QToolButton* commandButton(QGroupBox* group, const char* name, const QString& caption,
                           const char* themeIcon, QStyle::StandardPixmap fallback) {
    auto* button = new QToolButton(group);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setIcon(
        QIcon::fromTheme(QLatin1String(themeIcon), group->style()->standardIcon(fallback)));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // Like the other buttons it takes the focus, so an open cell editor hands over its text.
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

}  // namespace

void RegisterFields::showRegister(Register which, std::int32_t value) {
    QLineEdit* field = fields[static_cast<std::size_t>(which)];
    if (field != nullptr) {
        field->setText(toQString(int32ToText(value)));
    }
}

void RunPanel::setRunCaption(const std::string& caption) {
    btRun->setText(toQString(caption));
}

void RunPanel::setStepEnabled(bool enabled) {
    btStep->setEnabled(enabled);
}

void RunPanel::setBackEnabled(bool enabled) {
    btBack->setEnabled(enabled);
}

void RunPanel::showStepCount(std::uint64_t steps) {
    lbSteps->setText(utf8Text(captions::lbStepsPrefix) + QString::number(steps));
}

void RunPanel::showSpeed(Speed speed) {
    // Shown, not clicked: the session has already switched the speed.
    QRadioButton* button = speeds[static_cast<std::size_t>(speed)];
    const QSignalBlocker quiet(button);
    button->setChecked(true);
}

void RunPanel::sentenceChanged() {
    if (report != nullptr) {
        report->sentenceChanged();
    }
}

void RunPanel::traceRowsAdded(std::uint64_t /*first*/, std::uint64_t /*last*/) {
    // The table asks the workbench for its span when it is drawn.
    if (report != nullptr) {
        report->rowsAdded();
    }
}

void RunPanel::traceRowsRemoved(std::uint64_t first, std::uint64_t last) {
    if (report != nullptr) {
        report->rowsRemoved(first, last);
    }
}

void RunPanel::showHistory(const HistoryRange& range) {
    if (report != nullptr) {
        report->showHistory(range);
    }
}

void RunPanel::setTimerEnabled(RunTimer timer, bool enabled) {
    QTimer* t = timers[static_cast<std::size_t>(timer)];
    if (!enabled) {
        t->stop();
    } else if (!t->isActive()) {
        t->start();  // a running timer keeps its phase
    }
}

TfrmMainForm::TfrmMainForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmMainForm"));
    m_prompts = std::make_unique<QtPrompts>(this);
    createControls();
    m_workbench = std::make_unique<Workbench>(
        Views{*meProgram, *sgData, m_picture, m_registers, m_runPanel, *m_prompts, m_numberInput});

    m_tableModel = new DataTableModel(*m_workbench, this);
    sgData->setTableModel(m_tableModel);

    pbMemory = new MemoryView(m_workbench->table(), m_workbench->machine(), gbDataGraphical);
    pbMemory->setObjectName(QStringLiteral("pbMemory"));
    pbMemory->setAccessibleName(utf8Text(captions::pbMemory));
    pbMemory->stackUnder(enumber);
    m_picture.target = pbMemory;

    FormCreate();
    wireHandlers();

    // The two secondary windows, created hidden after the main window.
    m_frmHilfe = new TfrmHilfe(this);
    m_frmHilfe->tryProgram = [this](const std::string& program) {
        sgData->commitPendingEdit();
        m_workbench->tryProgram(program);
    };
    m_frmData = new TfrmData(this);
    m_numberInput.target = m_frmData;
    m_frmAufgabe = new TfrmAufgabe(*m_workbench, *m_prompts, this);
    m_frmAufgabe->beforeCommand = [this] { sgData->commitPendingEdit(); };
    m_frmProtocol = new TfrmProtocol(*m_workbench, this);
    m_frmProtocol->beforeCommand = [this] { sgData->commitPendingEdit(); };
    m_report = new RunReport(*m_workbench, *lbSentence, *m_frmProtocol, this);
    m_runPanel.report = m_report;
    m_workbench->showFreshStart();
}

TfrmMainForm::~TfrmMainForm() {
    // Gone without a clean end, the window leaves its record for the next start.
    m_keeper.reset();
    // The timers die with the window; no tick may reach the workbench once it is gone.
    for (QTimer* timer : m_runPanel.timers) {
        timer->stop();
        timer->disconnect();
    }
    m_picture.target = nullptr;
    m_numberInput.target = nullptr;
    m_runPanel.report = nullptr;
    delete m_report;
    // The controls, the table model and the two secondary windows refer to the workbench:
    // they go before it does, with their signals cut first.
    meProgram->disconnect(this);
    meProgram->setChangeHandler({});
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    delete m_tableModel;
}

void TfrmMainForm::createControls() {
    setFont(windowFont(11));
    // Group box captions sit on the frame line, so a box nested 15 pixels below its parent's
    // top (the register groups) is drawn inside the parent's frame, not across its caption.
    setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; padding: 0px 2px; background-color: palette(window); }"));

    // The controls lie on a surface of at least 800 x 600 inside a frameless scroll area: in a
    // smaller window (a small screen, high scaling) the layout stays as it is and the learner
    // scrolls to what is cut off; from 800 x 600 the surface is the whole client area.
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("saWorkingArea"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_content = new QWidget;
    m_content->setObjectName(QStringLiteral("wgWorkingArea"));
    m_content->setMinimumSize(kMinimumLayoutWidth, kMinimumLayoutHeight);
    m_content->installEventFilter(this);
    m_scroll->setWidget(m_content);

    gbProgram = groupBox(m_content, "gbProgram", utf8Text(captions::gbProgram));
    meProgram = new ProgramEditor(gbProgram);
    meProgram->setObjectName(QStringLiteral("meProgram"));
    meProgram->setAccessibleName(utf8Text(captions::gbProgram));
    meProgram->setFont(courierFont(15));

    gbData = groupBox(m_content, "gbData", utf8Text(captions::gbData));
    sgData = new DataGrid(gbData);
    sgData->setObjectName(QStringLiteral("sgData"));
    sgData->setAccessibleName(utf8Text(captions::gbData));
    sgData->setFont(courierFont(15));
    sgData->verticalHeader()->setDefaultSectionSize(QFontMetrics(sgData->font()).height() + 6);

    gbVMInspector = groupBox(m_content, "gbVMInspector", utf8Text(captions::gbVMInspector));
    gbVMAccu = groupBox(gbVMInspector, "gbVMAccu", utf8Text(captions::gbVMAccu));
    ebAccu = registerField(gbVMAccu, "ebAccu", QStringLiteral("0"));
    gbVMWindow = groupBox(gbVMInspector, "gbVMWindow", utf8Text(captions::gbVMWindow));
    ebWindow = registerField(gbVMWindow, "ebWindow", QStringLiteral("0"));
    gbVMIndex = groupBox(gbVMInspector, "gbVMIndex", utf8Text(captions::gbVMIndex));
    ebIndex = registerField(gbVMIndex, "ebIndex", QStringLiteral("0"));
    gbVMIP = groupBox(gbVMInspector, "gbVMIP", utf8Text(captions::gbVMIP));
    ebIP = registerField(gbVMIP, "ebIP", QStringLiteral("0"));
    gbVMSP = groupBox(gbVMInspector, "gbVMSP", utf8Text(captions::gbVMSP));
    ebSP = registerField(gbVMSP, "ebSP", QStringLiteral("512"));
    m_registers.fields = {ebAccu, ebWindow, ebIndex, ebIP, ebSP};
    // A screen reader names each register by its own caption, not by the panel around it.
    for (QGroupBox* box : {gbVMAccu, gbVMWindow, gbVMIndex, gbVMIP, gbVMSP}) {
        box->setAccessibleName(box->title());
    }

    gbFlowControl = groupBox(m_content, "gbFlowControl", utf8Text(captions::gbFlowControl));
    btCheck = new QPushButton(utf8Text(captions::btCheck), gbFlowControl);
    btCheck->setObjectName(QStringLiteral("btCheck"));
    btRun = new QPushButton(utf8Text(captions::btRun), gbFlowControl);
    btRun->setObjectName(QStringLiteral("btRun"));
    btStep = new QPushButton(utf8Text(captions::btStep), gbFlowControl);
    btStep->setObjectName(QStringLiteral("btStep"));
    gbSpeed = groupBox(gbFlowControl, "gbSpeed", utf8Text(captions::gbSpeed));
    rbStep = new QRadioButton(utf8Text(captions::rbStep), gbSpeed);
    rbStep->setObjectName(QStringLiteral("rbStep"));
    rbStep->setChecked(true);
    rbSlow = new QRadioButton(utf8Text(captions::rbSlow), gbSpeed);
    rbSlow->setObjectName(QStringLiteral("rbSlow"));
    rbFast = new QRadioButton(utf8Text(captions::rbFast), gbSpeed);
    rbFast->setObjectName(QStringLiteral("rbFast"));
    rbDirect = new QRadioButton(utf8Text(captions::rbDirect), gbSpeed);
    rbDirect->setObjectName(QStringLiteral("rbDirect"));
    // Below the step button, after the speed buttons in the tab order as on the screen.
    btBack = new QPushButton(utf8Text(captions::btBack), gbFlowControl);
    btBack->setObjectName(QStringLiteral("btBack"));
    btBack->setAccessibleName(utf8Text(captions::btBack).remove(QLatin1Char('&')));
    btBack->setToolTip(utf8Text(captions::btBackTip));
    btBack->setEnabled(false);
    lbSteps = new QLabel(utf8Text(captions::lbStepsPrefix) + QLatin1Char('0'), gbFlowControl);
    lbSteps->setObjectName(QStringLiteral("lbSteps"));
    lbSteps->setToolTip(utf8Text(captions::lbStepsTip));
    // Below the step count.
    btAufgabe = new QPushButton(utf8Text(captions::btAufgabe), gbFlowControl);
    btAufgabe->setObjectName(QStringLiteral("btAufgabe"));
    btAufgabe->setAccessibleName(utf8Text(captions::btAufgabe).remove(QLatin1Char('&')));
    btAufgabe->setToolTip(utf8Text(captions::btAufgabeTip));
    // Below "Aufgabe", in the run panel's last free space.
    btProtocol = new QPushButton(utf8Text(captions::btProtocol), gbFlowControl);
    btProtocol->setObjectName(QStringLiteral("btProtocol"));
    btProtocol->setAccessibleName(utf8Text(captions::btProtocol).remove(QLatin1Char('&')));
    btProtocol->setToolTip(utf8Text(captions::btProtocolTip));
    m_runPanel.btRun = btRun;
    m_runPanel.btStep = btStep;
    m_runPanel.btBack = btBack;
    m_runPanel.lbSteps = lbSteps;
    m_runPanel.speeds = {rbStep, rbSlow, rbFast, rbDirect};

    gbDataGraphical = groupBox(m_content, "gbDataGraphical", utf8Text(captions::gbData));
    gbDataGraphical->hide();
    enumber =
        hoverField(gbDataGraphical, "enumber", utf8Text(captions::enumberTip), kHoverNumberWidth);
    evalue = hoverField(gbDataGraphical, "evalue", utf8Text(captions::evalueTip), kHoverValueWidth);
    ecomment = hoverField(gbDataGraphical, "ecomment", utf8Text(captions::ecommentTip), 100);

    gbFile = groupBox(m_content, "gbFile", QString());
    btNew = commandButton(gbFile, "btNew", utf8Text(captions::btNew), "document-new",
                          QStyle::SP_FileIcon);
    btLoad = commandButton(gbFile, "btLoad", utf8Text(captions::btLoad), "document-open",
                           QStyle::SP_DialogOpenButton);
    btSave = commandButton(gbFile, "btSave", utf8Text(captions::btSave), "document-save",
                           QStyle::SP_DialogSaveButton);
    btHelp = commandButton(gbFile, "btHelp", utf8Text(captions::btHelp), "help-contents",
                           QStyle::SP_DialogHelpButton);
    btExit = commandButton(gbFile, "btExit", utf8Text(captions::btExit), "application-exit",
                           QStyle::SP_DialogCloseButton);
    btView = commandButton(gbFile, "btView", utf8Text(captions::btView), "view-list-icons",
                           QStyle::SP_FileDialogContentsView);
    btHTML = commandButton(gbFile, "btHTML", utf8Text(captions::btHTML), "text-html",
                           QStyle::SP_FileDialogDetailedView);
    // After the seven in the tab order, as on the screen.
    btExamples = commandButton(gbFile, "btExamples", utf8Text(captions::btExamples),
                               "folder-templates", QStyle::SP_DirHomeIcon);
    btExamples->setAccessibleName(utf8Text(captions::btExamples).remove(QLatin1Char('&')));
    btExamples->setToolTip(utf8Text(captions::btExamplesTip));
    // Under the command buttons: what the last step did.
    lbSentence = new SentenceLine(gbFile);
    lbSentence->setObjectName(QStringLiteral("lbSentence"));
    lbSentence->setAccessibleDescription(utf8Text(captions::lbSentenceName));
    m_examplesMenu = new QMenu(btExamples);
    m_examplesMenu->setObjectName(QStringLiteral("pmExamples"));
    m_examplesMenu->setAccessibleName(utf8Text(captions::lsExamplesName));
    const std::vector<BuiltInExample>& examples = builtInExamples();
    for (std::size_t i = 0; i < examples.size(); ++i) {
        // A menu takes "&" for an access key; the names and lines mean it as a character.
        QString entry = QString::fromStdString(examples[i].name) + QStringLiteral(" \u2013 ") +
                        QString::fromStdString(examples[i].line);
        QAction* action =
            m_examplesMenu->addAction(entry.replace(QLatin1Char('&'), QStringLiteral("&&")));
        action->setData(static_cast<int>(i));
    }

    const auto timer = [this](const char* name, int interval) {
        auto* t = new QTimer(this);
        t->setObjectName(QLatin1String(name));
        t->setInterval(interval);
        t->setTimerType(Qt::PreciseTimer);
        return t;
    };
    // A style sheet stops the window font from reaching the children by inheritance: each
    // control without a font of its own gets the window font explicitly.
    for (QWidget* w : findChildren<QWidget*>()) {
        if (!w->testAttribute(Qt::WA_SetFont)) {
            w->setFont(font());
        }
    }

    // The editor and the table scroll at every step of a run. Their scroll bars are drawn in
    // the plain classic style: the default style's gradients cost a millisecond per step,
    // more than the whole rest of the step.
    if (QStyle* plain = QStyleFactory::create(QStringLiteral("Windows"))) {
        plain->setParent(this);
        for (QAbstractScrollArea* area : {static_cast<QAbstractScrollArea*>(meProgram),
                                          static_cast<QAbstractScrollArea*>(sgData)}) {
            area->verticalScrollBar()->setStyle(plain);
            area->horizontalScrollBar()->setStyle(plain);
        }
    }

    tSlow = timer("tSlow", kTimerIntervalMs[0]);
    tFast = timer("tFast", kTimerIntervalMs[1]);
    tDirect = timer("tDirect", kTimerIntervalMs[2]);
    m_runPanel.timers = {tSlow, tFast, tDirect};
}

void TfrmMainForm::FormCreate() {
    setWindowTitle(QStringLiteral("Quarzel ") + QLatin1String(kVersionText));
    // The icon the package installs into the desktop's icon theme, else the style's computer.
    setWindowIcon(QIcon::fromTheme(QStringLiteral("quarzel"),
                                   style()->standardIcon(QStyle::SP_ComputerIcon)));
    // The picture paints its whole area itself.
    pbMemory->setAttribute(Qt::WA_OpaquePaintEvent);

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect workArea = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const LayoutRect r = startWindowRect(workArea.width(), workArea.height());
    move(r.left, r.top);
    resize(std::max(1, r.width), std::max(1, r.height));

    // The workbench starts with the state of a fresh start (table filled, flags false, empty
    // instruction list, Step); only the view choice is this window's own.
    m_graphicalView = false;
}

void TfrmMainForm::wireHandlers() {
    Workbench& wb = *m_workbench;
    connect(meProgram, &ProgramEditor::breakpointToggled, this,
            [&wb](int line) { wb.toggleBreakpoint(line); });
    meProgram->acceptsInsert = [&wb](const QString& inserted, std::size_t bytes,
                                     std::size_t lineBreaks) {
        return wb.acceptTypedText(inserted.toStdString()) &&
               wb.acceptProgramSize(bytes, lineBreaks);
    };

    // A button press first writes an open cell editor into the table.
    const auto button = [this](QAbstractButton* control, auto handler) {
        connect(control, &QAbstractButton::clicked, this, [this, handler] {
            sgData->commitPendingEdit();
            (m_workbench.get()->*handler)();
        });
    };
    button(btCheck, &Workbench::btCheckClick);
    // The work is kept at once before a run starts: what the run does to the table is the
    // machine's, what was there before it is the learner's.
    connect(btRun, &QAbstractButton::clicked, this, [this] {
        sgData->commitPendingEdit();
        if (m_keeper) {
            m_keeper->keepNow();
        }
        m_workbench->btRunClick();
    });
    button(btStep, &Workbench::btStepClick);
    button(btBack, &Workbench::btBackClick);
    button(btNew, &Workbench::btNewClick);
    button(btLoad, &Workbench::btLoadClick);
    button(btSave, &Workbench::btSaveClick);

    const auto radio = [this](QRadioButton* control, Speed speed) {
        connect(control, &QRadioButton::toggled, this, [this, speed](bool checked) {
            if (checked) {
                sgData->commitPendingEdit();
                m_workbench->speedClick(speed);
            }
        });
    };
    radio(rbStep, Speed::Step);
    radio(rbSlow, Speed::Slow);
    radio(rbFast, Speed::Fast);
    radio(rbDirect, Speed::Direct);

    connect(tSlow, &QTimer::timeout, this, [&wb] { wb.timerTick(RunTimer::Slow); });
    connect(tFast, &QTimer::timeout, this, [&wb] { wb.timerTick(RunTimer::Fast); });
    connect(tDirect, &QTimer::timeout, this, [&wb] { wb.timerTick(RunTimer::Direct); });

    connect(btHTML, &QToolButton::clicked, this, [this] { btHTMLClick(); });
    connect(btHelp, &QToolButton::clicked, this, [this] { btHelpClick(); });
    connect(btAufgabe, &QPushButton::clicked, this, [this] { btAufgabeClick(); });
    connect(btProtocol, &QPushButton::clicked, this, [this] { btProtocolClick(); });
    connect(btExit, &QToolButton::clicked, this, [this] { btExitClick(); });
    connect(btView, &QToolButton::clicked, this, [this] { btViewClick(); });
    connect(btExamples, &QToolButton::clicked, this, [this] { btExamplesClick(); });
    connect(m_examplesMenu, &QMenu::triggered, this, [this](QAction* action) {
        sgData->commitPendingEdit();
        m_workbench->loadExample(action->data().toInt());
    });

    connect(pbMemory, &MemoryView::hoverChanged, this,
            [this](const QString& number, const QString& value, const QString& comment) {
                enumber->setText(number);
                evalue->setText(value);
                ecomment->setText(comment);
            });
}

void TfrmMainForm::btExitClick() {
    close();
}

void TfrmMainForm::btViewClick() {
    sgData->commitPendingEdit();
    m_workbench->guard([this] {
        if (m_graphicalView) {
            gbDataGraphical->hide();
            gbData->show();
            m_graphicalView = false;
        } else {
            gbDataGraphical->show();
            gbData->hide();
            m_graphicalView = true;
        }
    });
}

void TfrmMainForm::btHelpClick() {
    sgData->commitPendingEdit();
    m_workbench->guard([this] { m_frmHilfe->toggle(); });
}

void TfrmMainForm::btAufgabeClick() {
    sgData->commitPendingEdit();
    m_workbench->guard([this] { m_frmAufgabe->toggle(); });
}

void TfrmMainForm::btProtocolClick() {
    sgData->commitPendingEdit();
    m_workbench->guard([this] { m_frmProtocol->toggle(); });
}

void TfrmMainForm::btExamplesClick() {
    sgData->commitPendingEdit();
    m_workbench->guard([this] {
        // Under the button where the screen has room, as a drop-down menu; the first entry
        // active, so that the arrow keys and Enter choose at once.
        m_examplesMenu->popup(btExamples->mapToGlobal(QPoint(0, btExamples->height())));
        if (!m_examplesMenu->actions().isEmpty()) {
            m_examplesMenu->setActiveAction(m_examplesMenu->actions().first());
        }
    });
}

void TfrmMainForm::btHTMLClick() {
    sgData->commitPendingEdit();
    const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    m_workbench->btHTMLClick(fromQString(date));
}

void TfrmMainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The scroll area sizes the surface, whose resize lays the controls out.
    m_scroll->setGeometry(rect());
}

bool TfrmMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_content && event->type() == QEvent::Resize) {
        ResizeWorkingArea();
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMainForm::ResizeWorkingArea() {
    const MainLayout l = computeMainLayout(m_content->width(), m_content->height());
    for (const LayoutField& field : kLayoutFields) {
        if (QWidget* control = layoutControl(field.name)) {
            place(control, l.*field.rect);
        }
    }
    const LearnLayout learn = computeLearnLayout(l);
    place(lbSentence, learn.lbSentence);
    place(btProtocol, learn.btProtocol);
    sgData->applyColumnWidths();
    // "Beispiele" narrower than the other command buttons (800 x 600): the caption on two lines
    // under a smaller icon, so that it is read whole.
    const bool narrow = btExamples->width() < kCommandButtonWidth;
    btExamples->setText(utf8Text(narrow ? captions::btExamplesNarrow : captions::btExamples));
    btExamples->setIconSize(narrow ? QSize(24, 24) : QSize(32, 32));
}

void TfrmMainForm::keepWorkIn(const std::string& folder) {
    m_keeper = std::make_unique<WorkKeeper>(*m_workbench, *m_prompts, folder);
    // Every change of the work shows in one of the two: the editor's text, however it changed;
    // the table's rows after a cell edit, New, Load, a task's case, a restore and every write
    // of the machine.
    connect(meProgram, &QPlainTextEdit::textChanged, m_keeper.get(), &WorkKeeper::changed);
    connect(m_tableModel, &QAbstractItemModel::dataChanged, m_keeper.get(), &WorkKeeper::changed);
}

QWidget* TfrmMainForm::layoutControl(const char* name) const {
    // The task window has controls of the same names; only this window's own are placed.
    for (QWidget* control : findChildren<QWidget*>(QLatin1String(name))) {
        for (QWidget* above = control->parentWidget(); above != nullptr;
             above = above->parentWidget()) {
            if (above == this) {
                return control;
            }
            if (above->isWindow()) {
                break;
            }
        }
    }
    return nullptr;
}

void TfrmMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_placed) {
        // The work area less 20 is the outer size; the frame is known once the window is up.
        m_placed = true;
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen != nullptr) {
            const LayoutRect r = startWindowRect(screen->availableGeometry().width(),
                                                 screen->availableGeometry().height());
            resize(clientSizeFor(*this, QSize(std::max(1, r.width), std::max(1, r.height))));
        }
        if (m_keeper) {
            // Asked once the window is on the screen, so the question has its window behind it.
            QTimer::singleShot(0, m_keeper.get(), [this] { m_keeper->offerLeftWork(); });
        }
    }
    // Shown again after a close: the timer of the selected speed runs again.
    m_workbench->reopened();
}

void TfrmMainForm::closeEvent(QCloseEvent* event) {
    sgData->commitPendingEdit();
    if (!m_workbench->closeRequested()) {
        event->ignore();
        return;
    }
    m_frmHilfe->hide();
    m_frmAufgabe->hide();
    m_frmProtocol->hide();
    if (m_keeper) {
        m_keeper->endCleanly();  // the save questions are answered: nothing is left to offer
    }
    event->accept();
}

}  // namespace quarzel
