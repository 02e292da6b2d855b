// The page's language: from a shared link (?lang=en), else the one chosen on this device, else
// the first of the browser's that the page speaks; French when none fits. Texts come from
// one table per language, a missing key in French.
import fr from './textes/fr.js';
import en from './textes/en.js';
import { lire, ecrire } from './stockage.js';

export const LANGUES = { fr, en };
const CLE_LANGUE = 'vellor.langue';
const parle = (code) => Object.prototype.hasOwnProperty.call(LANGUES, code);

function choisir() {
  const url = new URL(location.href);
  const lien = url.searchParams.get('lang');
  if (lien !== null) {
    // Taken once and kept on the device, so that a reload or the switch does not fight it.
    url.searchParams.delete('lang');
    history.replaceState(null, '', url.pathname + url.search + url.hash);
    if (parle(lien)) {
      ecrire(CLE_LANGUE, lien);
      return lien;
    }
  }
  const gardee = lire(CLE_LANGUE);
  if (parle(gardee)) return gardee;
  const preferee = (navigator.languages || [navigator.language || ''])
    .map(function (l) { return String(l).toLowerCase().split('-')[0]; }).find(parle);
  return preferee || 'fr';
}

export const langue = LANGUES[choisir()];
document.documentElement.lang = langue.code;
const nombres = new Intl.PluralRules(langue.locale);
const ordinaux = new Intl.PluralRules(langue.locale, { type: 'ordinal' });

function modele(cle) {
  return Object.prototype.hasOwnProperty.call(langue.textes, cle) ? langue.textes[cle] : fr.textes[cle];
}
function remplir(m, valeurs) {
  return String(m ?? '').replace(/\{(\w+)\}/g, function (tout, nom) {
    return Object.prototype.hasOwnProperty.call(valeurs, nom) ? String(valeurs[nom]) : tout;
  });
}

// The text of a key, its {names} filled; a text by plural category follows valeurs.n.
export function t(cle, valeurs = {}) {
  let m = modele(cle);
  if (m !== null && typeof m === 'object') m = m[nombres.select(Number(valeurs.n))] ?? m.other;
  return remplir(m, valeurs);
}

// "1er" or "1st"; a rank that is not a whole number stays as it is.
export function ordinal(rang) {
  const n = Number(rang);
  if (!Number.isInteger(n) || n < 1) return String(rang);
  const m = modele('rang.ordinal');
  return remplir(m[ordinaux.select(n)] ?? m.other, { n: rang });
}

export function date(d) { return d.toLocaleDateString(langue.locale); }
export function heure(d) { return d.toLocaleTimeString(langue.locale); }

// The texts the page's HTML carries (data-texte for the content, data-texte-ATTRIBUTE for an
// attribute), and the switch to the other language: a link that the next load reads.
export function traduirePage() {
  for (const n of document.querySelectorAll('[data-texte]')) n.textContent = t(n.dataset.texte);
  for (const n of document.querySelectorAll('*')) {
    for (const a of Array.from(n.attributes)) {
      if (a.name.startsWith('data-texte-')) n.setAttribute(a.name.slice('data-texte-'.length), t(a.value));
    }
  }
  const bascule = document.getElementById('langue');
  if (!bascule) return;
  const autre = langue === fr ? en : fr;
  bascule.textContent = autre.nom;
  bascule.lang = autre.code;
  bascule.hreflang = autre.code;
  bascule.title = autre.textes['langue.autre'];
  bascule.href = '?lang=' + autre.code;
}
