#include "core/donnees.h"
#include "core/trame.h"
#include "version.h"

#include <cstdio>

int main()
{
    decoderTrame("<COUPE>;Coupe du voisin;</COUPE>");
    std::printf("%s|%s\n", VELLOR_TITRE, titreCoupe.toUtf8().constData());
    return 0;
}
