#include "protocol/Controls.h"

#include <array>

namespace {

constexpr std::array kNames{
    "btNetwork",    "btMAC",        "btTime",       "meMAC",        "mLog",     "mePort",   "btHostPort",
    "btServerName", "meServerName", "rbServerName", "rbServerIP",   "btApply",  "btClear",  "btClose",
    "cbDHCP",       "meDNS",        "cbTime",       "meServerPort", "btFind",   "cbIP",     "cbEnableFields",
    "mTemp",        "meNofPoints",  "meDevIP1",     "meDevIP2",     "meDevIP3", "meDevIP4", "meGw1",
    "meGw2",        "meGw3",        "meGw4",        "meMask1",      "meMask2",  "meMask3",  "meMask4",
    "meServerIP1",  "meServerIP2",  "meServerIP3",  "meServerIP4",
};
static_assert(kNames.size() == static_cast<std::size_t>(TControl::meServerIP4) + 1);

}  // namespace

QString ControlName(TControl control) { return QLatin1String(kNames[static_cast<std::size_t>(control)]); }
