// Vantrel: the window, or one of the headless modes named on the command line.
#include <wx/app.h>

#include "app/VantrelApp.h"

wxIMPLEMENT_APP_NO_MAIN(vantrel::CVantrelApp);

int main(int argc, char** argv) {
  return wxEntry(argc, argv);
}
