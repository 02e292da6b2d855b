// The series of the event in flight, the one in flight marked, each pilot's result once known.
import { liste, objet, texte, index, el, vide, lignePilote, epreuveEnCours, nomEpreuve, seriesEnCours }
  from '../commun.js';
import { arrivee, arriveesEnCours } from '../changements.js';

const TEXTES = {
  onglet: 'Séries', titre: 'Séries', aucuneEpreuve: 'Aucune épreuve en cours',
  aucuneSerie: 'Aucune série pour cette épreuve', allerEnVol: (n) => 'Aller à la série en vol (n° ' + n + ')',
  serie: (n) => 'Série n° ' + n, enVol: ' (en vol)',
};

function construire(etat, maintenant) {
  const f = document.createDocumentFragment();
  if (epreuveEnCours(etat) < 0) {
    f.append(vide(TEXTES.aucuneEpreuve));
    return f;
  }
  const series = seriesEnCours(etat);
  if (series.length === 0) {
    f.append(vide(TEXTES.aucuneSerie));
    return f;
  }
  const courante = index(etat.serieCourante);
  // With many series the one in flight can sit far down a phone's screen.
  if (courante >= 0 && courante < series.length) {
    const lien = el('a', 'aller-en-vol', TEXTES.allerEnVol(courante + 1));
    lien.href = '#serie-en-vol';
    f.append(lien);
  }
  const grille = el('div', 'series');
  series.forEach(function (s, k) {
    const carte = el('article', k === courante ? 'serie courante' : 'serie');
    if (k === courante) {
      carte.setAttribute('aria-current', 'true');
      carte.id = 'serie-en-vol';
    }
    // The rank in the event, not a number from the data, as on the projector.
    const titre = el('h3', 'titre-serie', TEXTES.serie(k + 1));
    if (k === courante) titre.append(el('span', 'lecteur', TEXTES.enVol));
    const ul = el('ul', 'pilotes');
    for (const p of liste(s.pilotes).map(objet))
      ul.append(lignePilote(p, s.avecResultats === true, { arrivee: arrivee(k, texte(p.numero), maintenant) }));
    carte.append(titre, ul);
    grille.append(carte);
  });
  f.append(grille);
  return f;
}

export default {
  cle: 'series', id: 'vue-series', onglet: TEXTES.onglet, titre: TEXTES.titre, chrono: true,
  sousTitre: function (etat) { return nomEpreuve(etat, epreuveEnCours(etat)); },
  entrees: function (etat, maintenant) {
    return [epreuveEnCours(etat), seriesEnCours(etat), etat.serieCourante, arriveesEnCours(maintenant)];
  },
  construire,
};
