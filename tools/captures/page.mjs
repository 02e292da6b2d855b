// The README's pictures of the results page, taken by tests/navigateur/page.mjs's follow mode
// (scripts/suivre-page.sh --captures DOSSIER) once the page shows a running contest: two tabs
// on a phone with a pilot followed, and the series overlay over a drawn frame of a contest
// video. `ouvrir` opens a page in the follow mode's browser context (an overlay at 1920 x 1080).
import { mkdirSync, writeFileSync } from 'node:fs';

export async function capturer({ page, dossier, ouvrir, contexte, delai }) {
  mkdirSync(dossier, { recursive: true });
  const photo = async (nom) => {
    await page.waitForFunction(() =>
      !document.getElementById('titre-classement-coupe').classList.contains('efface'), null, { timeout: delai });
    await page.screenshot({ path: dossier + '/page-telephone-' + nom + '.png' });
  };
  // A spectator follows a pilot of the next series, found by his number.
  const numero = await page.textContent('#vue-preparation tbody tr:first-child .numero');
  await page.fill('#recherche', numero);
  await page.click(`.proposition:has-text("${numero} ")`);
  await page.click('.onglets a[data-vue=series]');
  await photo('series');
  await page.click('.onglets a[data-vue=coupe]');
  await photo('coupe');
  // The announcer's view on a tablet held in landscape, then the page on a phone in English.
  await page.setViewportSize({ width: 1024, height: 768 });
  await page.click('.onglets a[data-vue=annonceur]');
  await page.screenshot({ path: dossier + '/page-tablette-annonceur.png' });
  await page.setViewportSize({ width: 360, height: 740 });
  await page.click('.onglets a[data-vue=series]');
  const anglais = await ouvrir(new URL('?lang=en#series', page.url()).href);
  await anglais.page.screenshot({ path: dossier + '/page-telephone-anglais.png' });
  await anglais.page.close();
  // The series overlay over a frame of a contest video, drawn here.
  const o = await ouvrir(new URL('incrustation?vue=serie', page.url()).href);
  const png = (await o.page.screenshot({ omitBackground: true })).toString('base64');
  const toile = await contexte.newPage();
  const image = await toile.evaluate(async (png) => {
    const c = document.createElement('canvas');
    [c.width, c.height] = [1280, 720];
    const g = c.getContext('2d');
    // A band from y0 to y1, its colour going from haut to bas.
    const bande = (y0, y1, haut, bas) => {
      const degrade = g.createLinearGradient(0, y0, 0, y1);
      degrade.addColorStop(0, haut);
      degrade.addColorStop(1, bas);
      g.fillStyle = degrade;
      g.fillRect(0, y0, 1280, y1 - y0);
    };
    bande(0, 430, '#3d78c2', '#bcd8ef');
    g.fillStyle = '#2f5a2a';
    g.beginPath();
    g.moveTo(0, 430);
    for (let x = 0; x <= 1280; x += 40) g.lineTo(x, 400 + 18 * Math.sin(x / 70) + 9 * Math.sin(x / 23));
    g.lineTo(1280, 430);
    g.fill();
    bande(430, 720, '#6f9b45', '#3f6b25');
    g.fillStyle = '#8a8a80';
    g.beginPath();
    g.moveTo(560, 430); g.lineTo(720, 430); g.lineTo(1100, 720); g.lineTo(180, 720);
    g.fill();
    // A model aircraft banking over the field.
    g.translate(780, 210);
    g.rotate(-0.18);
    g.fillStyle = '#d23a2a';
    g.fillRect(-90, -9, 180, 18);
    g.fillRect(-20, -70, 30, 140);
    g.fillRect(-95, -28, 16, 56);
    g.setTransform(1, 0, 0, 1, 0, 0);
    const img = new Image();
    img.src = 'data:image/png;base64,' + png;
    await img.decode();
    g.drawImage(img, 0, 0, 1280, 720);
    return c.toDataURL('image/png').split(',')[1];
  }, png);
  writeFileSync(dossier + '/incrustation-serie.png', Buffer.from(image, 'base64'));
  await toile.close();
  await o.page.close();
}
