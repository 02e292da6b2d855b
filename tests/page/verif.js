// Checks the rendered page from inside the browser and appends its verdict to the body,
// for verifier.sh to read from the dumped DOM. Loaded before page.js to see its errors.
'use strict';
(function () {
  const erreursJs = [];
  window.addEventListener('error', function (e) { erreursJs.push(String(e.message)); });
  // An injected handler calling alert would block the headless browser: record it instead.
  window.alert = function () { erreursJs.push('alert appelé'); };
  const scenario = location.hash.slice(1);

  function texte(sel) { const n = document.querySelector(sel); return n ? n.textContent : ''; }
  function lignes(sel) { return Array.from(document.querySelectorAll(sel)); }

  function verifier() {
    const echecs = [];
    function ok(c, m) { if (!c) echecs.push(m); }
    ok(erreursJs.length === 0, 'erreurs JavaScript : ' + erreursJs.join(' | '));
    for (const id of ['vue-series', 'vue-preparation', 'vue-classement-epreuve',
      'vue-classement-coupe', 'vue-tableau', 'etat-connexion']) {
      ok(document.getElementById(id), 'id absent : ' + id);
    }
    ok(document.querySelectorAll('img, script:not([src])').length === 0, 'balise injectée');
    ok(document.documentElement.scrollWidth <= window.innerWidth,
      'débordement horizontal : ' + document.documentElement.scrollWidth + ' > ' + window.innerWidth);
    for (const s of lignes('section')) ok(s.scrollWidth <= s.clientWidth, 'débordement dans ' + s.id);

    if (scenario === 'pylones') {
      ok(texte('#vue-series').includes('<img src=x onerror=alert(1)> Pirate'), 'nom piégé absent du texte');
      ok(texte('#vue-series').includes('MARTIN Julie'), '"MARTIN Julie" absent des séries');
      const cartes = lignes('#vue-series .serie');
      ok(cartes.length === 5, 'séries : ' + cartes.length);
      ok(lignes('#vue-series .courante').length === 1 && cartes[2].classList.contains('courante'),
        'la série en vol n\'est pas la troisième');
      ok(cartes[0].querySelectorAll('.reussi').length === 4 && cartes[0].querySelectorAll('.echoue').length === 2,
        'couleurs des résultats de la série 1');
      ok(cartes[2].querySelectorAll('.reussi, .echoue').length === 0, 'série sans résultats colorée');
      ok(texte('#vue-series .titre-serie') === 'Série n° 1', 'titre de série');
      ok(document.querySelector('#vue-series a[href="#serie-en-vol"]') &&
        document.getElementById('serie-en-vol') === cartes[2], 'lien vers la série en vol');
      ok(texte('#vue-preparation .sous-titre') === 'Pylône racing - Série n° 4', 'titre de la préparation');
      ok(lignes('#vue-preparation tbody tr').length === 6, 'lignes de la préparation');
      ok(lignes('#vue-classement-epreuve tbody tr').length === 30, 'lignes du classement');
      const badges = lignes('#vue-classement-coupe .badge').map(function (b) { return b.textContent; });
      ok(badges[4] === '5' && badges[5] === '6', '"ex aequo" dans les badges : ' + badges.slice(4, 6));
      const t = lignes('#vue-tableau tbody tr');
      ok(t.length === 10, 'le tableau n\'a pas dix rangs');
      ok(texte('#vue-tableau thead').includes('Pylônes'), 'colonne de l\'épreuve');
      ok(t[0].querySelector('.numero').classList.contains('vole') &&
        t[6].querySelector('.numero').classList.contains('attend'), 'couleur des numéros');
      ok(t[6].querySelector('.epreuve').textContent === '' && t[6].querySelector('.total').textContent === '',
        'un "0" du tableau n\'est pas laissé vide');
      ok(t[0].querySelector('.total').textContent === '110', 'total');
    } else if (scenario === 'limbo') {
      const t = lignes('#vue-tableau tbody tr');
      ok(texte('#vue-tableau thead').includes('Limbo envol / looping'), 'en-tête du limbo');
      ok(t[0].querySelector('.epreuve').textContent === '', 'limbo "0 / 0" non vide');
      ok(t[1].querySelector('.epreuve').textContent === '1 / 1', 'limbo : ' + t[1].querySelector('.epreuve').textContent);
    } else if (scenario === 'jugement') {
      ok(texte('#vue-tableau').includes('Pas de tableau'), 'tableau pour la première épreuve');
    } else if (scenario === 'casse') {
      ok(texte('#vue-series').includes('Aucune épreuve en cours'), 'séries d\'un état cassé');
      ok(lignes('#vue-classement-coupe .ligne-coupe').length === 3, 'lignes de coupe d\'un état cassé');
    } else {
      ok(false, 'scénario inconnu : ' + scenario);
    }
    const pre = document.createElement('pre');
    pre.id = 'verdict';
    pre.textContent = echecs.length ? 'ECHEC ' + scenario + '\n' + echecs.join('\n') : 'OK ' + scenario;
    document.body.append(pre);
  }
  // Wait for the first rendering (the state is fetched). Without one there is no verdict,
  // and verifier.sh starts the browser again: a slow machine is not a fault of the page.
  function attendre(essais) {
    const rendu = document.querySelector('#vue-series [data-role="contenu"]');
    if (rendu && rendu.childElementCount > 0) verifier();
    else if (essais > 0) setTimeout(function () { attendre(essais - 1); }, 100);
  }
  window.addEventListener('load', function () { attendre(30); });
})();
