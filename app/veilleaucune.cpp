#include "app/veilleinhibiteur.h"

// Neither D-Bus nor Windows: the screens follow the system's own idle settings.
#if !defined(VELLOR_DBUS) && !defined(Q_OS_WIN)
std::unique_ptr<Inhibiteur> creerInhibiteur()
{
    return nullptr;
}
#endif
