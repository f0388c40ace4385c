#include "app/survey/item_editing.h"

#include "app/survey/header_editor.h"
#include "app/survey/question_editor.h"
#include "core/survey/question.h"

namespace quorvant::app {

std::optional<ItemFields> EditItemFields(const TQuestion& item, TQVXQuestion& questions,
                                         TQVXHeader& headers) {
  if (item.IsHeader()) {
    headers.SetText(QString::fromStdString(item.Text));
    if (headers.exec() != QDialog::Accepted) return std::nullopt;
    ItemFields header;
    header.text = headers.Text().toStdString();
    header.style = kStyleHeader;
    header.length = 0;
    return header;
  }
  questions.Fill(item);
  if (questions.exec() != QDialog::Accepted) return std::nullopt;
  return questions.Fields();
}

}  // namespace quorvant::app
