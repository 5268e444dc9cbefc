// The memory table: 512 rows of cell number, value and comment. Row r is memory cell r + 1;
// the value column is the machine's memory.
//
// A cell holds a number for the machine and a text for the user. A text that was typed or
// loaded stays exactly as it is ("007", "-0", "$1F", "abc") until the machine writes the
// cell; the machine reads and writes the number, and the text of a written cell is made from
// the number only when someone asks for it (table, picture, files, HTML page).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quarzel {

class DataGridView;

// Everything a cell's value is, for the step journal to put back byte for byte.
struct CellContent {
    std::int32_t number = 0;
    bool readable = true;        // number is the value a read gives
    bool machineWritten = true;  // the text is the decimal form of number
    std::string typedText;       // the text as typed or loaded, when !machineWritten
};

class DataTable {
  public:
    static constexpr int kRowCount = 512;
    static constexpr int kNumberColumn = 0;
    static constexpr int kValueColumn = 1;
    static constexpr int kCommentColumn = 2;
    // Longer value and comment texts are cut to this many bytes when they are typed or loaded,
    // so that a hostile file cannot make a cell that no view can show.
    static constexpr std::size_t kMaxTextLength = 256;

    // The start-up contents: numbers "1".."512", every value "0", every comment empty.
    DataTable();

    // The grid that shows the table; it is told about every change the system makes.
    void attachGrid(DataGridView* grid) { m_grid = grid; }
    DataGridView* grid() const { return m_grid; }

    const std::string& text(int column, int row) const;
    const std::string& value(int row) const { return text(kValueColumn, row); }
    const std::string& comment(int row) const { return text(kCommentColumn, row); }

    // A typed or loaded text for column 1 or 2, kept as it is; the number column is never
    // written after start-up. A row or column out of range raises "Listenindex überschreitet
    // das Maximum (%d)".
    void setText(int column, int row, std::string text);
    void setValue(int row, std::string text) { setText(kValueColumn, row, std::move(text)); }
    void setComment(int row, std::string text) { setText(kCommentColumn, row, std::move(text)); }

    // The machine's side. Rows are 0..511, guaranteed by the caller.
    // The cell's number; false when its text is no number (the caller raises the conversion
    // error with value(row)).
    bool readNumber(int row, std::int32_t& number) const noexcept {
        const Cell& cell = m_cells[static_cast<std::size_t>(row)];
        number = cell.number;
        return cell.readable;
    }
    // Stores a number; its text is made when it is asked for.
    void writeNumber(int row, std::int32_t number) {
        Cell& cell = m_cells[static_cast<std::size_t>(row)];
        cell.number = number;
        cell.readable = true;
        cell.machineWritten = true;
        cell.textCurrent = false;
        if (m_grid != nullptr) {
            notifyGrid(row);
        }
    }
    // A written cell's text is the decimal form of its number; a typed one keeps its text.
    bool isMachineWritten(int row) const noexcept {
        return m_cells[static_cast<std::size_t>(row)].machineWritten;
    }
    CellContent content(int row) const;
    void restore(int row, CellContent content);

  private:
    struct Cell {
        std::int32_t number = 0;
        bool readable = true;
        bool machineWritten = true;
        mutable bool textCurrent = false;  // text holds the decimal form of number
        mutable std::string text;          // as typed, or made from number
        std::string comment;
    };
    void notifyGrid(int row);

    std::array<std::string, kRowCount> m_numbers;
    std::array<Cell, kRowCount> m_cells;
    DataGridView* m_grid = nullptr;
};

// While it lives, the table tells no grid of the machine's writes (a headless run, a walk that
// writes back what the cells hold); then the grid it had hears of them again.
class GridDetached {
  public:
    explicit GridDetached(DataTable& table) : m_table(table), m_grid(table.grid()) {
        table.attachGrid(nullptr);
    }
    ~GridDetached() { m_table.attachGrid(m_grid); }
    GridDetached(const GridDetached&) = delete;
    GridDetached& operator=(const GridDetached&) = delete;

    DataGridView* grid() const { return m_grid; }

  private:
    DataTable& m_table;
    DataGridView* m_grid;
};

}  // namespace quarzel
