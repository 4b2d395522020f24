#include "platform/forms/list_view.h"

namespace pw::forms {

ListView::ListView(Form& form, std::string name, Bounds bounds, int tabIndex,
                   std::vector<ListViewColumn> columns)
    : ControlOf(form, std::move(name), ListViewState{}) {
  design.bounds = bounds;
  design.tabIndex = tabIndex;
  design.columns = std::move(columns);
  ResetToDesign();
}

void ListView::SetRows(std::vector<std::vector<std::string>> rows) {
  Cur().rows = std::move(rows);
  Notify(Prop::Items);
}

int ListView::RowCount() {
  return static_cast<int>(Cur().rows.size());
}

std::string ListView::Cell(int row, int column) {
  const auto& rows = Cur().rows;
  if (row < 0 || row >= static_cast<int>(rows.size())) return {};
  const auto& cells = rows[static_cast<std::size_t>(row)];
  if (column < 0 || column >= static_cast<int>(cells.size())) return {};
  return cells[static_cast<std::size_t>(column)];
}

const std::vector<ListViewColumn>& ListView::Columns() {
  return Cur().columns;
}

}  // namespace pw::forms
