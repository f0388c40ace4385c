#include "app/emaillists/email_list_whats_this.h"

#include <QHash>

namespace quorvant::app {

QString EmailListWhatsThis(const QString& object_name) {
  static const QHash<QString, QString> texts = {
      {"tbNew", "Creates a new, empty e-mail list (.eml) and shows it in this window."},
      {"tbOpen",
       "Opens an e-mail list. A name that does not exist yet becomes a new, empty "
       "list."},
      {"tbPrint", "Prints the list in the order shown, with the column titles on every page."},
      {"dbgEMail",
       "The people of the list. Type in a cell to change it; each change is saved as soon "
       "as you leave the cell. Click a column title to sort by that column (the sorted "
       "column is marked with *). Insert adds an empty row, Delete removes the selected "
       "rows."},
      {"eFind",
       "Type the beginning of a value of the sorted column and press Enter to move to "
       "the first person whose value begins with it. Upper and lower case differ."},
      {"lblFind", "The find box searches the column the list is sorted by."},
      {"pnlCount", "How many people the list holds."},
      {"pnlFind", "The outcome of the last search."},
  };
  return texts.value(object_name);
}

}  // namespace quorvant::app
