#include "checker/check_program.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "checker/line_scanner.h"
#include "checker/name_list.h"
#include "common/number_text.h"
#include "common/quote.h"
#include "common/views.h"
#include "common/win1252.h"
#include "model/instruction_set.h"

namespace quarzel {
namespace {

constexpr char kCaption[] = "Programmfehler";

// One mark, while the checker resolves jump targets.
struct VM_Mark {
    std::int32_t Line = 0;  // index of the MRK line, counted from 0
};

// The most lines an editor window can show at once, with room to spare (a portrait 4K screen
// shows well under 400). Until the text fills the window, appending does not scroll it; an
// editor that still has not scrolled after this many appends never will.
constexpr int kTallestView = 500;

bool lineError(ProgramEditorView& editor, PromptView& prompts, int line, const std::string& rest) {
    prompts.showMessage("Fehler in Zeile " + int32ToText(line + 1) + rest, kCaption,
                        MessageIcon::Error);
    editor.selectLine(line);
    return false;
}

// A mark definition or a jump whose name is still to be looked up. Pass 1 looks names up a
// few lines after it has read them, so that the slots can be fetched from memory meanwhile;
// every lookup still happens in line order, and an error of a line is reported only after the
// names of the lines before it have been looked up, so the first faulty line is the one named.
struct PendingName {
    int line = 0;
    bool definition = false;  // MRK; else a jump
    std::string name;
    std::uint32_t hash = 0;
};

constexpr std::size_t kLookAhead = 8;

class Assembler {
  public:
    Assembler(ProgramEditorView& editor, PromptView& prompts, const OpcodeList& opcodes,
              Instructions& instructions, int lineCount)
        : m_editor(editor),
          m_prompts(prompts),
          m_opcodes(opcodes),
          m_instructions(instructions),
          m_lineCount(lineCount),
          m_markNames(static_cast<std::size_t>(lineCount)),
          m_targetNames(static_cast<std::size_t>(lineCount)) {}

    // Both passes: every line into `instructions`, then every jump's target name replaced by
    // the line of its MRK.
    bool assemble(bool& stpSeen) {
        m_instructions.reserve(static_cast<std::size_t>(m_lineCount));
        for (int i = 0; i < m_lineCount; ++i) {
            ScannedLine line;
            try {
                line = scanLine(normaliseLine(m_editor.lineText(i)), m_opcodes);
            } catch (...) {
                // A conversion error ends the check, unless an earlier line is already faulty.
                if (!settleAll()) {
                    return false;
                }
                m_error = CheckError::OperandNotANumber;
                throw;
            }
            if (line.kind == LineKind::Error) {
                return settleAll() && failAt(i, line.errorKind, line.error);
            }
            stpSeen = stpSeen || line.record.Opcode == static_cast<std::int32_t>(Mnemonic::STP);
            m_instructions.push_back(line.record);
            if (line.kind == LineKind::MarkDefinition || line.kind == LineKind::Jump) {
                const bool definition = line.kind == LineKind::MarkDefinition;
                const std::uint32_t hash = NameList::hashOf(line.name);
                (definition ? m_markNames : m_targetNames).prefetch(hash);
                m_pending[m_pendingEnd++ % kLookAhead] = {i, definition, std::move(line.name),
                                                          hash};
                if (m_pendingEnd - m_pendingBegin > kLookAhead / 2) {
                    // Halfway to its lookup a name's slot has arrived: fetch the name it holds.
                    const PendingName& half =
                        m_pending[(m_pendingEnd - kLookAhead / 2 - 1) % kLookAhead];
                    (half.definition ? m_markNames : m_targetNames).prefetchName(half.hash);
                }
                if (m_pendingEnd - m_pendingBegin == kLookAhead && !settleOldest()) {
                    return false;
                }
            }
        }
        return settleAll() && resolveTargets();
    }

    // The kind of the error that ended the check; None while none has.
    CheckError error() const { return m_error; }

  private:
    bool failAt(int line, CheckError kind, const std::string& rest) {
        m_error = kind;
        m_instructions.resize(static_cast<std::size_t>(line));  // the lines before it stay
        return lineError(m_editor, m_prompts, line, rest);
    }

    bool settleOldest() {
        PendingName& p = m_pending[m_pendingBegin++ % kLookAhead];
        if (p.definition) {
            if (m_markNames.indexOf(p.name, p.hash) >= 0) {
                return failAt(p.line, CheckError::DuplicateMark,
                              " : Marke " + shortQuote(p.name) + " bereits definiert");
            }
            m_markNames.append(std::move(p.name), p.hash);
            m_markList.push_back(VM_Mark{p.line});
        } else {
            // Until pass 2 a jump's Operand is the position of its target in m_targetNames.
            m_instructions[static_cast<std::size_t>(p.line)].Operand =
                m_targetNames.indexOrAppend(std::move(p.name), p.hash);
        }
        return true;
    }

    bool settleAll() {
        while (m_pendingBegin != m_pendingEnd) {
            if (!settleOldest()) {
                return false;
            }
        }
        return true;
    }

    // Pass 2. Each target name is looked up once; -1 marks a name that no MRK defines.
    bool resolveTargets() {
        const int targets = m_targetNames.count();
        std::vector<std::uint32_t> hashes(static_cast<std::size_t>(targets));
        for (int t = 0; t < targets; ++t) {
            hashes[static_cast<std::size_t>(t)] = NameList::hashOf(m_targetNames.at(t));
        }
        std::vector<std::int32_t> targetLines(static_cast<std::size_t>(targets));
        for (int t = 0; t < targets; ++t) {
            if (t + static_cast<int>(kLookAhead) < targets) {
                m_markNames.prefetch(hashes[static_cast<std::size_t>(t) + kLookAhead]);
            }
            const int mark =
                m_markNames.indexOf(m_targetNames.at(t), hashes[static_cast<std::size_t>(t)]);
            targetLines[static_cast<std::size_t>(t)] =
                mark >= 0 ? m_markList[static_cast<std::size_t>(mark)].Line : -1;
        }
        for (std::size_t i = 0; i < m_instructions.size(); ++i) {
            VM_Instruction& record = m_instructions[i];
            if (!inMarkOperandSet(record.Opcode)) {
                continue;
            }
            const std::int32_t target = targetLines[static_cast<std::size_t>(record.Operand)];
            if (target < 0) {
                const std::string name = m_targetNames.at(record.Operand);
                // Only the resolved lines before the faulty one stay.
                return failAt(static_cast<int>(i), CheckError::UndefinedMark,
                              ": Ziel " + shortQuote(name) + " ist nicht vorhanden");
            }
            record.Operand = target;
        }
        return true;
    }

    ProgramEditorView& m_editor;
    PromptView& m_prompts;
    const OpcodeList& m_opcodes;
    Instructions& m_instructions;
    const int m_lineCount;
    NameList m_markNames;
    std::vector<VM_Mark> m_markList;  // entry k belongs to m_markNames.at(k)
    NameList m_targetNames;
    std::array<PendingName, kLookAhead> m_pending;
    std::size_t m_pendingBegin = 0;
    std::size_t m_pendingEnd = 0;
    CheckError m_error = CheckError::None;
};

// Appends empty lines until the last program line can be the first visible line, so that the
// run display can scroll every program line to the top. An editor that stops scrolling (hidden,
// no height, already at its limit) ends the loop instead of growing the text forever.
void makeRoomBelow(ProgramEditorView& editor) {
    const int lastLine = editor.lineCount() - 1;
    int first = editor.firstVisibleLine();
    bool scrolled = false;
    int idleAppends = 0;
    while (first < lastLine) {
        editor.appendEmptyLine();
        const int now = editor.firstVisibleLine();
        const bool moved = now > first;
        first = now;
        if (moved) {
            scrolled = true;
        } else if (scrolled || ++idleAppends >= kTallestView) {
            // Once the window scrolls, every append scrolls it by a line; before that, the
            // appends only fill the window.
            break;
        }
    }
}

}  // namespace

bool CheckProgram(ProgramEditorView& editor, PromptView& prompts, const OpcodeList& opcodes,
                  Instructions& instructions, CheckError* error) {
    CheckError ignored = CheckError::None;
    CheckError& kind = error != nullptr ? *error : ignored;
    kind = CheckError::None;
    instructions.clear();
    bool stpSeen = false;
    Assembler assembler(editor, prompts, opcodes, instructions, std::max(editor.lineCount(), 0));
    bool assembled = false;
    try {
        assembled = assembler.assemble(stpSeen);
    } catch (...) {
        kind = assembler.error();
        throw;
    }
    if (!assembled) {
        kind = assembler.error();
        return false;
    }
    if (!stpSeen) {
        kind = CheckError::NoStp;
        prompts.showMessage(fromUtf8("Fehler: Programm enthält keine STP-Anweisung"), kCaption,
                            MessageIcon::Error);
        return false;
    }
    // Empty lines, comments and ZZZ after the last real instruction are never reached.
    while (!instructions.empty() &&
           instructions.back().Opcode == static_cast<std::int32_t>(Mnemonic::ZZZ)) {
        instructions.pop_back();
    }
    makeRoomBelow(editor);
    return true;
}

}  // namespace quarzel
