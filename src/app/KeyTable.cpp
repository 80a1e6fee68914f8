#include "app/KeyTable.h"

namespace vantrel {

namespace {
const KeyHelp kWindowKeys[] = {
    {"F1", "About Vantrel"},
    {"Escape", "close the large map, else exit"},
    {"Enter", "as Escape, unless a button has the focus"},
};
}  // namespace

std::span<const KeyHelp> windowKeys() {
  return kWindowKeys;
}

}  // namespace vantrel
