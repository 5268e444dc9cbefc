// The page's side of the views: functions of the page's script (Module.page) that the core's
// views call. Texts cross as UTF-8; a returned text is allocated by the script and freed here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quarzel::page {

// The program editor. The page's text uses "\n" between lines.
void setEditorText(const std::string& utf8, bool clearMarks);
void setEditorFirstLine(int line);
int editorFirstLine();
void selectEditorLine(int line);
void editorCaretToEnd();  // and scrolled into view
bool editorHasBreakpoint(int line);
void setEditorBreakpoint(int line, bool on);
void setEditorReadOnly(bool readOnly);
void showEditorCurrentLine(int line);  // -1: no run in progress

// The table.
void showRowAtTop(int row);
void setTableEditable(bool editable);
void showRow(int row, const std::string& valueUtf8, const std::string& commentUtf8);

// The picture: `rects` holds five numbers per square (left, top, right, bottom, filled),
// followed by the frame (left, top, right, bottom, write) or nothing.
void paintPicture(const std::int32_t* numbers, int count, int frameWidth);

void showRegister(int which, std::int32_t value);
void setRunCaption(const std::string& utf8);
void setStepEnabled(bool enabled);
void setBackEnabled(bool enabled);
void setTimerEnabled(int timer, bool enabled, int intervalMs);
void showStepCount(double steps);
void showSpeed(int speed);

// Modal questions, awaited while the page keeps every other event away from the core.
void showMessage(const std::string& text, const std::string& caption, bool error);
void showNote(const std::string& utf8);
bool askYesNo(const std::string& text, const std::string& caption);
// The chosen file's bytes (at most maxBytes of them) are put into the virtual file system;
// the path is returned, or nothing when the user cancelled.
std::optional<std::string> chooseFileToOpen(const std::string& description,
                                            const std::string& pattern, double maxBytes);
// A path in the virtual file system that the page delivers once the core has written it.
std::optional<std::string> chooseFileToSave(const std::string& description,
                                            const std::string& pattern,
                                            const std::string& extension);
// The number dialog: the text the user accepted with OK or Enter, nothing when it was closed.
// `again` keeps the text of a rejected entry instead of starting from "0".
std::optional<std::string> askNumber(bool again);

}  // namespace quarzel::page
