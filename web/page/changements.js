// What changed between two states: ranks that moved show an arrow for a while, results that
// arrived stand out a few seconds.
import { liste, objet, texte, el, rangCourt, epreuveEnCours, seriesEnCours } from './commun.js';
import { t } from './langue.js';

const DUREE_MOUVEMENT_MS = 60000;
const DUREE_ARRIVEE_MS = 5000;

const mouvements = new Map(); // "coupe:249" -> { places, jusqua }
const arrivees = new Map();   // "serie:3:249" -> until when the result stands out
let precedent = null;

function rangsCoupe(etat) {
  const rangs = new Map();
  liste(etat.classementCoupe).forEach(function (l, i) {
    const n = texte(objet(l).numero);
    if (n && !rangs.has(n)) rangs.set(n, parseInt(rangCourt(objet(l).rang), 10) || i + 1);
  });
  return rangs;
}
function rangsEpreuve(etat) {
  const rangs = new Map();
  liste(etat.classementEpreuve).forEach(function (l, i) {
    const n = texte(objet(l).numero);
    if (n && !rangs.has(n)) rangs.set(n, i + 1);
  });
  return rangs;
}
function resultats(etat) {
  const r = new Map();
  seriesEnCours(etat).forEach(function (s, k) {
    if (s.avecResultats !== true) return;
    for (const p of liste(s.pilotes)) r.set('serie:' + k + ':' + texte(objet(p).numero), objet(p).reussi === true);
  });
  return r;
}

// Every state received goes through here, also those a burst folds into one rendering.
export function noterChangements(etat, maintenant) {
  const actuel = { e: epreuveEnCours(etat), coupe: rangsCoupe(etat), epreuve: rangsEpreuve(etat),
    resultats: resultats(etat) };
  if (precedent) {
    const comparer = function (quoi, avant, apres) {
      apres.forEach(function (rang, numero) {
        const ancien = avant.get(numero);
        if (ancien !== undefined && ancien !== rang)
          mouvements.set(quoi + ':' + numero, { places: ancien - rang, jusqua: maintenant + DUREE_MOUVEMENT_MS });
      });
    };
    comparer('coupe', precedent.coupe, actuel.coupe);
    // A new event starts a new classification: nobody moved in it yet.
    if (actuel.e !== precedent.e) {
      for (const cle of mouvements.keys()) if (cle.startsWith('epreuve:')) mouvements.delete(cle);
      arrivees.clear();
    } else {
      comparer('epreuve', precedent.epreuve, actuel.epreuve);
      actuel.resultats.forEach(function (reussi, cle) {
        if (precedent.resultats.get(cle) !== reussi) arrivees.set(cle, maintenant + DUREE_ARRIVEE_MS);
      });
    }
  }
  precedent = actuel;
}

// The results that still stand out: a view that shows them is drawn again when they end.
export function arriveesEnCours(maintenant) {
  const enCours = [];
  arrivees.forEach(function (jusqua, cle) { if (jusqua > maintenant) enCours.push(cle); });
  return enCours;
}

// The mark of a result of the series k that still stands out, or ''.
export function arrivee(k, numero, maintenant) {
  const cle = 'serie:' + k + ':' + numero;
  return (arrivees.get(cle) || 0) > maintenant ? cle : '';
}

// An arrow with the places won or lost, filled by marquer() while it lasts.
export function caseMouvement(cle) {
  const m = el('span', 'mouvement');
  m.dataset.mouvement = cle;
  return m;
}

// Arrows that still last, results that still stand out.
export function marquer(maintenant) {
  for (const n of document.querySelectorAll('[data-mouvement]')) {
    const m = mouvements.get(n.dataset.mouvement);
    const places = m && m.jusqua > maintenant ? m.places : 0;
    const fleche = places ? (places > 0 ? '▲' : '▼') + Math.abs(places) : '';
    if (n.textContent === fleche) continue;
    n.textContent = fleche;
    n.className = 'mouvement' + (places > 0 ? ' monte' : places < 0 ? ' descend' : '');
    if (places) n.title = t(places > 0 ? 'mouvement.gagne' : 'mouvement.perd', { n: Math.abs(places) });
    else n.removeAttribute('title');
  }
  for (const n of document.querySelectorAll('[data-arrivee]'))
    if (!((arrivees.get(n.dataset.arrivee) || 0) > maintenant)) n.classList.remove('arrive');
}
