// The protocol's table. While it follows the newest row (scrolled to the end), rows that come in
// after the last one move the rows in sight up on the screen, and only the new rows are drawn:
// the table's own layout after a change of its row count repaints every row in sight, which at
// "Direkt" (four times a second, ten new rows each time) cost more than the steps themselves.
#pragma once

#include <QTableView>

namespace quarzel {

class TraceTableModel;

class TraceTableView : public QTableView {
  public:
    explicit TraceTableView(QWidget* parent = nullptr);

    // Brings the rows to the model's sync and shows the newest row when rows came in, unless
    // the table was scrolled away from the newest row.
    void syncAndFollow(TraceTableModel& model);

  private:
    bool m_scrolledAway = true;  // moved by other than the following since it last followed
};

}  // namespace quarzel
