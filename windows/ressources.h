#ifndef RESSOURCES_H
#define RESSOURCES_H

// Registers the pictures under ":/icones/" and, where the windows' font families are not
// installed (outside Windows), the free families that stand in for them. Safe to call again.
void initialiserRessources();

#endif
