// The series of the event in flight, the one in flight marked, each pilot's result once known.
import { liste, objet, texte, index, el, vide, lignePilote, epreuveEnCours, nomEpreuve, seriesEnCours }
  from '../commun.js';
import { arrivee, arriveesEnCours } from '../changements.js';
import { t } from '../langue.js';

function construire(etat, maintenant) {
  const f = document.createDocumentFragment();
  if (epreuveEnCours(etat) < 0) {
    f.append(vide(t('tableau.aucuneEpreuve')));
    return f;
  }
  const series = seriesEnCours(etat);
  if (series.length === 0) {
    f.append(vide(t('series.aucuneSerie')));
    return f;
  }
  const courante = index(etat.serieCourante);
  // With many series the one in flight can sit far down a phone's screen.
  if (courante >= 0 && courante < series.length) {
    const lien = el('a', 'aller-en-vol', t('series.allerEnVol', { n: courante + 1 }));
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
    const titre = el('h3', 'titre-serie', t('series.serie', { n: k + 1 }));
    if (k === courante) titre.append(el('span', 'lecteur', t('series.enVol')));
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
  cle: 'series', id: 'vue-series', onglet: t('series.onglet'), titre: t('series.titre'), chrono: true,
  sousTitre: function (etat) { return nomEpreuve(etat, epreuveEnCours(etat)); },
  entrees: function (etat, maintenant) {
    return [epreuveEnCours(etat), seriesEnCours(etat), etat.serieCourante, arriveesEnCours(maintenant)];
  },
  construire,
};
