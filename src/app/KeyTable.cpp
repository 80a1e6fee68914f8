#include "app/KeyTable.h"

namespace vantrel {

namespace {
const KeyHelp kWindowKeys[] = {
    {"F1", "About Vantrel"},
    {"Escape", "close the large map, else exit"},
    {"Enter", "play the selected entry"},
};
}  // namespace

std::span<const KeyHelp> windowKeys() {
  return kWindowKeys;
}

}  // namespace vantrel
