// The memory table: 512 rows of cell number, value text and comment. Row r is memory cell
// r + 1; the value column is the machine's memory.
#pragma once

#include <array>
#include <string>

namespace quarzel {

class DataGridView;

class DataTable {
  public:
    static constexpr int kRowCount = 512;
    static constexpr int kNumberColumn = 0;
    static constexpr int kValueColumn = 1;
    static constexpr int kCommentColumn = 2;

    // The start-up contents: numbers "1".."512", every value "0", every comment empty.
    DataTable();

    // The grid that shows the table; it is told about every change the system makes.
    void attachGrid(DataGridView* grid) { m_grid = grid; }

    const std::string& text(int column, int row) const;
    const std::string& value(int row) const { return text(kValueColumn, row); }
    const std::string& comment(int row) const { return text(kCommentColumn, row); }

    // Column 1 or 2; the number column is never written after start-up. A row or column out
    // of range raises "Listenindex überschreitet das Maximum (%d)".
    void setText(int column, int row, std::string text);
    void setValue(int row, std::string text) { setText(kValueColumn, row, std::move(text)); }
    void setComment(int row, std::string text) { setText(kCommentColumn, row, std::move(text)); }

  private:
    struct Row {
        std::string number;
        std::string value;
        std::string comment;
    };
    std::array<Row, kRowCount> m_rows;
    DataGridView* m_grid = nullptr;
};

}  // namespace quarzel
