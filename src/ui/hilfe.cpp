#include "hilfe.h"

#include <QFont>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QShowEvent>
#include <QStringList>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "common/win1252.h"
#include "screen/captions.h"
#include "screen/primer_text.h"
#include "screen/reference_text.h"
#include "window_placement.h"

namespace quarzel {
namespace {

constexpr int kLeft = 192;
constexpr int kTop = 107;
constexpr int kOuterWidth = 538;
constexpr int kOuterHeight = 630;

QFont fixedFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(13);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

// Plain text, never rich text: a screen reader reads it as it stands, and no "<" in a program
// is taken for markup.
QLabel* plainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setAccessibleName(text);
    return label;
}

}  // namespace

QString referenceText() {
    QStringList lines;
    for (const std::string& line : referenceLines()) {
        lines << QString::fromStdString(line);
    }
    return lines.join(QLatin1Char('\n'));
}

TfrmHilfe::TfrmHilfe(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHilfe"));
    setWindowTitle(QString::fromUtf8(captions::frmHilfe));
    // Only the main window's closing ends the program, even while this window is open.
    setAttribute(Qt::WA_QuitOnClose, false);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pcHilfe"));
    m_memHilfe = new QPlainTextEdit(m_pages);
    m_memHilfe->setObjectName(QStringLiteral("memHilfe"));
    m_memHilfe->setAccessibleName(windowTitle());
    m_memHilfe->setReadOnly(true);
    m_memHilfe->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Both bars always: a learner sees at once that the list goes on below and to the right.
    m_memHilfe->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memHilfe->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The colons only line up in a fixed-pitch font; the hint finds one where Courier New is
    // missing.
    m_memHilfe->setFont(fixedFont());
    m_memHilfe->setPlainText(referenceText());
    m_pages->addTab(m_memHilfe, QString::fromUtf8(captions::tsCommandList));
    m_primer = makePrimerPage();
    m_pages->addTab(m_primer, QString::fromUtf8(kPrimerTitle));

    move(kLeft, kTop);  // a top-level window's position is that of its outer frame
    resize(kOuterWidth, kOuterHeight);
}

QWidget* TfrmHilfe::makePrimerPage() {
    auto* scroll = new QScrollArea(m_pages);
    scroll->setObjectName(QStringLiteral("sbEinfuehrung"));
    scroll->setAccessibleName(QString::fromUtf8(kPrimerTitle));
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget(scroll);
    auto* column = new QVBoxLayout(content);
    const std::vector<PrimerSection>& sections = primerSections();
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const PrimerSection& section = sections[i];
        const QString title = QString::fromStdString(section.title);
        QLabel* heading = plainLabel(title, content);
        QFont bold = heading->font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.2);
        heading->setFont(bold);
        column->addWidget(heading);
        for (const std::string& paragraph : section.paragraphs) {
            column->addWidget(plainLabel(QString::fromStdString(paragraph), content));
        }
        if (section.program.empty()) {
            continue;
        }
        // The program as the editor will show it; long lines are not wrapped, as there.
        QString shown = QString::fromStdString(toUtf8(section.program));
        shown.remove(QLatin1Char('\r'));
        QLabel* program = plainLabel(shown.trimmed(), content);
        program->setWordWrap(false);
        program->setFont(fixedFont());
        program->setObjectName(QStringLiteral("lbProgram%1").arg(i));
        program->setAccessibleName(QString::fromUtf8(kPrimerProgramName) + title);
        program->setFrameShape(QFrame::StyledPanel);
        column->addWidget(program);
        auto* button = new QPushButton(QString::fromUtf8(kPrimerTryCaption), content);
        button->setObjectName(QStringLiteral("btTry%1").arg(i));
        button->setAccessibleName(QString::fromUtf8(kPrimerTryCaption) + QStringLiteral(": ") +
                                  title);
        const std::string text = section.program;
        connect(button, &QPushButton::clicked, this, [this, text] {
            if (tryProgram) {
                tryProgram(text);
            }
        });
        column->addWidget(button, 0, Qt::AlignLeft);
    }
    column->addStretch(1);
    scroll->setWidget(content);
    return scroll;
}

QPushButton* TfrmHilfe::tryButton(int section) const {
    return m_primer->findChild<QPushButton*>(QStringLiteral("btTry%1").arg(section));
}

void TfrmHilfe::toggle() {
    if (isVisible()) {
        hide();
    } else {
        show();
    }
}

void TfrmHilfe::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The pages fill the client area less one pixel at the right and at the bottom, as the
    // command list alone did; the command list fills its page.
    m_pages->setGeometry(0, 0, std::max(0, width() - 1), std::max(0, height() - 1));
}

void TfrmHilfe::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The frame is known only once the window exists on screen; the outer size is set once,
    // afterwards the size is the user's.
    if (!m_outerSizeSet) {
        m_outerSizeSet = true;
        resize(clientSizeFor(*this, QSize(kOuterWidth, kOuterHeight)));
    }
}

}  // namespace quarzel
