#include "network/etatflux.h"

#include "core/parametres.h"

QString texteDuree(qint64 secondes)
{
    if (secondes < 60)
        return QStringLiteral("%1 s").arg(secondes);
    if (secondes < 3600)
        return QStringLiteral("%1 min %2 s")
            .arg(secondes / 60)
            .arg(secondes % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1 h %2 min")
        .arg(secondes / 3600)
        .arg(secondes % 3600 / 60, 2, 10, QLatin1Char('0'));
}

QString texteAdresse(const QHostAddress &adresse)
{
    bool ipv4 = false;
    const quint32 v4 = adresse.toIPv4Address(&ipv4);
    return ipv4 ? QHostAddress(v4).toString() : adresse.toString();
}

TexteEtatFlux texteEtatFlux(const EtatFlux &etat, int silenceAlerte)
{
    TexteEtatFlux resultat;
    if (etat.msDepuisDerniere < 0) {
        resultat.texte = QStringLiteral("Aucune trame reçue");
    } else {
        const qint64 secondes = etat.msDepuisDerniere / 1000;
        const QString adresse = texteAdresse(etat.source);
        resultat.alerte = silenceAlerte > 0 && secondes > silenceAlerte;
        resultat.texte = resultat.alerte
                             ? QStringLiteral("Flux muet depuis %1 (dernière trame de %2)")
                                   .arg(texteDuree(secondes), adresse)
                             : QStringLiteral("Dernière trame il y a %1 (%2)")
                                   .arg(texteDuree(secondes), adresse);
    }
    resultat.texte +=
        QStringLiteral("\nReçues : %1, ignorées : %2").arg(etat.recus).arg(etat.ignores);
    if (!etat.sourcesIllisibles.isEmpty()) {
        resultat.alerte = true;
        resultat.texte = QStringLiteral("Aucun émetteur accepté : %1 sans adresse valide (%2)\n")
                             .arg(cleDe<&Parametres::sources>(),
                                  etat.sourcesIllisibles.join(QStringLiteral(", "))) +
                         resultat.texte;
    }
    return resultat;
}
