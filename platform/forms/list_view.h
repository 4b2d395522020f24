#pragma once

#include <string>
#include <vector>

#include "platform/forms/control.h"

namespace pw::forms {

struct ListViewColumn {
  std::string title;
  int width = 1500;  // twips
};

struct ListViewState : ControlState {
  std::vector<ListViewColumn> columns;
  std::vector<std::vector<std::string>> rows;  // each row a text per column
};

// A table of rows under column headings, read only: the system's list view in report style.
class ListView : public ControlOf<ListViewState> {
 public:
  ListView(Form& form, std::string name, Bounds bounds, int tabIndex,
           std::vector<ListViewColumn> columns);

  // Replaces every row and tells the view once.
  void SetRows(std::vector<std::vector<std::string>> rows);
  int RowCount();
  // Empty for a cell that does not exist.
  std::string Cell(int row, int column);
  const std::vector<ListViewColumn>& Columns();
  bool TakesFocus() const override { return true; }
};

}  // namespace pw::forms
