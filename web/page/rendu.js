// Each view's section, and its rendering: at most once per frame, each view rebuilt only when
// what it reads changed.
import { el, poserTexte, chrono } from './commun.js';

const parties = new Map(); // view -> its section's parts and the key of what it last drew

// Its title, then what it is about (the event, the series) and the chronometers where the
// projector shows them, then its content.
export function preparerSections(registre) {
  for (const v of registre) {
    const section = el('section', 'vue');
    section.id = v.id;
    section.dataset.vue = v.cle;
    const titre = el('h2', v.classeTitre || '', v.titre);
    titre.id = v.id.replace(/^vue-/, 'titre-');
    section.setAttribute('aria-labelledby', titre.id);
    const role = function (n, r) { n.dataset.role = r; return n; };
    const p = { contenu: role(el('div', 'contenu'), 'contenu'), cle: null,
      sousTitre: v.sousTitre ? role(el('p', 'sous-titre'), 'epreuve') : null,
      chrono: v.chrono ? role(el('div', 'chrono'), 'chrono') : null };
    const [entete, titres] = [el('div', 'entete'), el('div', 'titres')];
    titres.append(titre);
    if (p.sousTitre) titres.append(p.sousTitre);
    entete.append(titres);
    if (p.chrono) entete.append(p.chrono);
    section.append(entete, p.contenu);
    if (v.preparer) v.preparer(section);
    document.querySelector('.vues').append(section);
    parties.set(v, p);
  }
}

export function rendreVues(registre, etat, maintenant) {
  for (const v of registre) {
    const p = parties.get(v);
    if (p.chrono) p.chrono.replaceChildren(chrono(etat));
    if (p.sousTitre) poserTexte(p.sousTitre, v.sousTitre(etat));
    const cle = JSON.stringify(v.entrees(etat, maintenant));
    if (cle !== p.cle) {
      p.cle = cle;
      p.contenu.replaceChildren(v.construire(etat, maintenant));
    }
    if (v.apres) v.apres(etat);
  }
}

// A burst of states costs one rendering; a hidden tab renders when shown again.
export function parImage(rendre) {
  let enAttente = null;
  return function (etat) {
    const premier = enAttente === null;
    enAttente = etat;
    if (!premier) return;
    requestAnimationFrame(function () {
      const e = enAttente;
      enAttente = null;
      rendre(e);
    });
  };
}
