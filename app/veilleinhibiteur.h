#ifndef VEILLEINHIBITEUR_H
#define VEILLEINHIBITEUR_H

#include <QString>

#include <memory>

// What one platform offers to keep the screens awake: VeilleEcran takes and gives back
// one hold at a time through it and knows nothing else of the platform.
class Inhibiteur
{
public:
    virtual ~Inhibiteur() = default;

    // Holds off blanking and the screen saver; false, with a short reason, when the
    // platform refused or did not answer.
    virtual bool prendre(QString &raison) = 0;
    // Gives back the hold that prendre() took.
    virtual void rendre() = 0;
};

// The piece for the platform this was built for: D-Bus on Unix (veilledbus.cpp), the
// execution state on Windows (veillewindows.cpp); null where nothing can hold the screens
// (veilleaucune.cpp).
std::unique_ptr<Inhibiteur> creerInhibiteur();

#endif
