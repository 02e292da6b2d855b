#include "app/veilleinhibiteur.h"

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace
{
// The execution state belongs to the thread that sets it, here the interface thread,
// which lives as long as the station; ES_CONTINUOUS keeps it until it is set again.
class InhibiteurWindows final : public Inhibiteur
{
public:
    bool prendre(QString &raison) override
    {
        if (SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED) != 0)
            return true;
        raison = QStringLiteral("SetThreadExecutionState a refusé");
        return false;
    }

    void rendre() override { SetThreadExecutionState(ES_CONTINUOUS); }
};
} // namespace

std::unique_ptr<Inhibiteur> creerInhibiteur()
{
    return std::make_unique<InhibiteurWindows>();
}
#endif
