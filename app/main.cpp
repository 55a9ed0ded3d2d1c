#include "app/ErrorBox.h"
#include "app/MainForm.h"
#include "app/VelmoraApplication.h"
#include "protocol/Conversions.h"

int main(int argc, char** argv) {
  TVelmoraApplication application(argc, argv);
  try {
    TLinkExchange exchange;
    TMainForm form(exchange);
    form.show();
    application.exec();
  } catch (const EVelmoraError& error) {
    ShowErrorBox(error.Message());
  } catch (...) {
    ShowErrorBox(QString());
  }
  return 0;
}
