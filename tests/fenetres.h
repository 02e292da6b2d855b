#ifndef FENETRES_H
#define FENETRES_H

#include "windows/win1.h"
#include "windows/win2.h"
#include "windows/win3.h"
#include "windows/win4.h"
#include "windows/win5.h"

#include <memory>

// Display window n (1 to 5), shown at the given size and drawn from the store.
inline std::unique_ptr<FenetreAffichage> fenetreMontree(int n, int largeur, int hauteur)
{
    std::unique_ptr<FenetreAffichage> f;
    switch (n) {
    case 1:
        f.reset(new Win1);
        break;
    case 2:
        f.reset(new Win2);
        break;
    case 3:
        f.reset(new Win3);
        break;
    case 4:
        f.reset(new Win4);
        break;
    default:
        f.reset(new Win5);
        break;
    }
    f->resize(largeur, hauteur);
    f->show();
    f->miseAJour();
    return f;
}

#endif
