#include "tools/simulateur/trames.h"

namespace
{

// Collects the fields of one block: "<TAG>;f0;f1;...;fn;</TAG>".
class Bloc
{
public:
    Bloc(const char *balise, int taille) : balise(QString::fromLatin1(balise))
    {
        texte.reserve(taille);
        texte += QLatin1Char('<') + balise + QLatin1String(">;");
    }

    Bloc &operator<<(const QString &champ)
    {
        texte += champ;
        texte += QLatin1Char(';');
        return *this;
    }
    Bloc &operator<<(int nombre) { return *this << QString::number(nombre); }
    Bloc &operator<<(bool vrai)
    {
        return *this << QString(vrai ? QLatin1Char('1') : QLatin1Char('0'));
    }

    QByteArray fermer()
    {
        texte += QLatin1String("</") + balise + QLatin1Char('>');
        return texte.toUtf8();
    }

private:
    QString balise;
    QString texte;
};

} // namespace

QString champ(const QString &texte)
{
    QString propre = texte;
    for (QChar &c : propre) {
        const ushort u = c.unicode();
        if (u == ';')
            c = QLatin1Char(',');
        else if (u == '<')
            c = QChar(0x2039);
        else if (u == '>')
            c = QChar(0x203A);
        else if (u < 0x20 || u == 0x7F || u == 0x2028 || u == 0x2029)
            c = QLatin1Char(' ');
    }
    return propre;
}

QByteArray trameEpreuve(const QVector<LigneEpreuve> &lignes, const QStringList &entete)
{
    Bloc bloc("EPREUVE", 64 + lignes.size() * 64);
    for (int i = 0; i < 6; ++i)
        bloc << champ(entete.value(i));
    for (const LigneEpreuve &l : lignes)
        bloc << champ(l.nom1) << champ(l.nom2) << champ(l.numero) << champ(l.total)
             << champ(l.drapeauNumero) << champ(l.touchAndGo) << champ(l.baguettes)
             << champ(l.pylones) << champ(l.banderoles) << champ(l.limbo) << champ(l.looping);
    return bloc.fermer();
}

QByteArray trameSeries(int indexEpreuve, int indexSerie, bool drapeau, const QString &ecoule,
                       const QString &restant, int slot, const QVector<GroupeSerie> &groupes)
{
    int pilotes = 0;
    for (const GroupeSerie &g : groupes)
        pilotes += g.pilotes.size();
    Bloc bloc("SERIES", 64 + groupes.size() * 16 + pilotes * 64);
    bloc << indexEpreuve << indexSerie << drapeau << champ(ecoule) << champ(restant);
    for (int k = 0; k < groupes.size(); ++k) {
        const QString nom = QString::number(k + 1);
        bloc << (QLatin1Char('<') + nom + QLatin1Char('>')) << slot << groupes[k].avecResultats;
        for (const PiloteSerie &p : groupes[k].pilotes)
            bloc << p.numero << champ(p.nom1) << champ(p.nom2) << champ(p.club) << p.points
                 << p.reussi;
        bloc << (QLatin1String("</") + nom + QLatin1Char('>'));
    }
    return bloc.fermer();
}

QByteArray trameCoupe(const QString &titre, const QVector<LigneCoupe> &lignes)
{
    Bloc bloc("COUPE", 64 + lignes.size() * 48);
    bloc << champ(titre);
    for (const LigneCoupe &l : lignes)
        bloc << l.numero << l.points << champ(l.rang) << champ(l.nom1) << champ(l.nom2);
    return bloc.fermer();
}
