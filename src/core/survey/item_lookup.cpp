#include "core/survey/item_lookup.h"

#include "core/survey/survey.h"

namespace quorvant {

int ItemIndexOfId(const TSurvey& survey, int id) {
  for (int i = 0; i < survey.ItemCount(); ++i) {
    if (survey.Item(i).ID == id) return i;
  }
  return -1;
}

}  // namespace quorvant
