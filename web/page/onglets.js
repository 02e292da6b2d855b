// Tabs: one view at a time on a phone, chosen by its tab or a deep link (#coupe) and
// remembered on the device; side by side on a wide screen, a tab brings its view into sight.
import { el } from './commun.js';
import { lire, ecrire } from './stockage.js';

const CLE_VUE = 'vellor.vue';
let cles = [];        // the views' keys, in the tabs' order
let vueDuLien = null; // the view of the link the page was opened with

function vueDemandee() {
  const h = location.hash.slice(1);
  if (cles.includes(h)) return h;
  const gardee = lire(CLE_VUE);
  return cles.includes(gardee) ? gardee : cles[0];
}

function choisirVue(nom, defiler) {
  for (const s of document.querySelectorAll('.vue')) s.classList.toggle('choisie', s.dataset.vue === nom);
  for (const a of document.querySelectorAll('.onglets a')) {
    if (a.dataset.vue === nom) a.setAttribute('aria-current', 'page');
    else a.removeAttribute('aria-current');
  }
  ecrire(CLE_VUE, nom);
  // A narrow phone scrolls the tab bar sideways: the chosen tab comes into it.
  const barre = document.querySelector('.onglets');
  const onglet = barre.querySelector('[aria-current]');
  if (onglet && barre.scrollWidth > barre.clientWidth)
    barre.scrollLeft = onglet.offsetLeft - (barre.clientWidth - onglet.offsetWidth) / 2;
  if (!defiler) return;
  const vue = document.querySelector('.vue[data-vue="' + nom + '"]');
  // Side by side, the tab brings its view into sight; alone, the view starts at its top.
  if (getComputedStyle(document.querySelector('.vue:not(.choisie)') || vue).display === 'none') window.scrollTo(0, 0);
  else vue.scrollIntoView({ block: 'start' });
}

// A tab per view of the registry, then the view asked for.
export function preparerOnglets(registre) {
  cles = registre.map(function (v) { return v.cle; });
  document.querySelector('.onglets').append(...registre.map(function (v) {
    const a = el('a', '', v.onglet);
    a.href = '#' + v.cle;
    a.dataset.vue = v.cle;
    return a;
  }));
  choisirVue(vueDemandee(), false);
  if (cles.includes(location.hash.slice(1))) vueDuLien = location.hash.slice(1);
  window.addEventListener('hashchange', function () {
    if (cles.includes(location.hash.slice(1))) choisirVue(location.hash.slice(1), true);
  });
}

// On a wide screen the link's view comes into sight once the views hold something.
export function montrerVueDuLien() {
  if (vueDuLien) choisirVue(vueDuLien, true);
  vueDuLien = null;
}
