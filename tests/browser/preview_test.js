// skincheck's preview page in Debian's Chromium, headless: it loads from file:// with nothing else
// fetched, shows the window as skincheck's bitmap preview does, shows the buttons' looks, places a
// dragged button where skincheck then lays it out, switches languages as the menu does, and its
// controls have names. Usage: node preview_test.js DEMO EXAMPLE SKINCHECK (see tests/browser/run).
"use strict";
const assert = require("node:assert/strict");
const { execFileSync } = require("node:child_process");
const fs = require("node:fs");
const path = require("node:path");
const { chromium } = require(path.join(process.env.MENU_NODE_MODULES, "playwright-core"));

const [demo, example, skincheck] = process.argv.slice(2);
const work = process.env.MENU_WORK;

// Writes the page of `folder` into a new folder and returns index.html's path.
let pages = 0;
function writePage(folder, extra = []) {
  const out = path.join(work, "page" + ++pages);
  try {
    execFileSync(skincheck, [...extra, "--html", out, folder], { stdio: "pipe" });
  } catch (e) {
    // Exit status 1 is a folder with errors; the page is written all the same.
    if (e.status !== 1) throw new Error("skincheck failed: " + e.stderr);
  }
  return path.join(out, "index.html");
}

// The pixels of a picture file as RGB bytes, by ImageMagick.
function rgb(file) {
  const size = execFileSync("identify", ["-format", "%w %h", file]).toString().split(" ").map(Number);
  const bytes = execFileSync("convert", [file, "-depth", "8", "rgb:-"], { maxBuffer: 1 << 26 });
  return { width: size[0], height: size[1], bytes };
}

function copyFolder(from, to) { fs.cpSync(from, to, { recursive: true }); }

let browser;
// Opens `file` in a fresh page that records console errors and every request.
async function open(file) {
  const context = await browser.newContext({ viewport: { width: 1800, height: 1400 }, deviceScaleFactor: 1 });
  const page = await context.newPage();
  page.errors = [];
  page.requests = [];
  page.on("console", (m) => { if (m.type() === "error" || m.type() === "warning") page.errors.push(m.text()); });
  page.on("pageerror", (e) => page.errors.push(e.message));
  page.on("request", (r) => page.requests.push(r.url()));
  await page.goto("file://" + file);
  await page.mouse.move(0, 0);
  await page.waitForFunction(() => [...document.images].every((i) => i.complete));
  return page;
}
const data = (page) => page.evaluate(() => data);
async function setScale(page, percent) {
  await page.getByLabel("Display scale").selectOption({ label: percent + " %" });
}
async function lookOf(page, id) {
  return page.evaluate((id) => {
    const element = document.getElementById("b-" + id);
    const img = element.querySelector("img");
    const picture = data.pictures.find((p) => img.getAttribute("src") === p.file);
    return { look: element.dataset.look, source: picture && picture.source };
  }, id);
}

const tests = [];
const test = (name, body) => tests.push({ name, body });

test("the page loads from file:// with no console errors and no other request", async () => {
  for (const folder of [demo, example]) {
    const page = await open(writePage(folder));
    await setScale(page, 200);
    await page.getByLabel("Language").selectOption({ index: (await data(page)).languages.length - 1 });
    await page.waitForFunction(() => [...document.images].every((i) => i.complete));
    assert.deepEqual(page.errors, []);
    assert.ok(page.requests.length > 5, "the pictures are requested");
    assert.deepEqual(page.requests.filter((url) => !url.startsWith("file://")), []);
    await page.context().close();
  }
  // A menu.ini the menu refuses: no window, the findings all the same.
  const refused = path.join(work, "refused");
  copyFolder(demo, refused);
  fs.appendFileSync(path.join(refused, "menu.ini"), "\r\n[Button1]\r\nShow=tiny\r\n");
  const page = await open(writePage(refused));
  assert.deepEqual(page.errors, []);
  assert.equal(await page.locator("#nowindow").isVisible(), true);
  assert.match(await page.locator("#findings").innerText(), /Show is "tiny"/);
  await page.context().close();
});

test("at 100 % the window is skincheck's bitmap preview pixel for pixel outside the holes", async () => {
  const preview = path.join(work, "preview.bmp");
  const file = writePage(demo, ["--preview", preview]);
  const page = await open(file);
  await page.getByLabel("Number the keyboard order").uncheck();
  await page.mouse.move(0, 0);
  const shot = path.join(work, "window.png");
  await page.locator("#window").screenshot({ path: shot });
  const a = rgb(preview);
  const b = rgb(shot);
  assert.deepEqual([b.width, b.height], [a.width, a.height]);
  let compared = 0, holes = 0, differing = 0;
  for (let i = 0; i < a.bytes.length; i += 3) {
    const hole = a.bytes[i] === 255 && a.bytes[i + 1] === 0 && a.bytes[i + 2] === 255;
    if (hole) {
      // The checkerboard behind the window shows through the holes.
      holes++;
      const grey = b.bytes[i];
      assert.ok((grey === 0xc8 || grey === 0xff) && b.bytes[i + 1] === grey && b.bytes[i + 2] === grey,
                "a hole at pixel " + i / 3 + " shows the checkerboard");
      continue;
    }
    compared++;
    if (a.bytes[i] !== b.bytes[i] || a.bytes[i + 1] !== b.bytes[i + 1] || a.bytes[i + 2] !== b.bytes[i + 2]) differing++;
  }
  assert.ok(holes > 1000, "the demo skin has holes in its corners: " + holes);
  assert.equal(differing, 0, differing + " of " + compared + " pixels differ");
  await page.context().close();
});

test("pointing at a button shows its hover look, pressing it the pressed look", async () => {
  const page = await open(writePage(demo));
  const button = page.locator("#b-Button1");
  assert.deepEqual(await lookOf(page, "Button1"), { look: "normal", source: "img\\bmp1-2.bmp" });
  await button.hover();
  assert.deepEqual(await lookOf(page, "Button1"), { look: "hover", source: "img\\bmp1-3.bmp" });
  await page.mouse.down();
  assert.deepEqual(await lookOf(page, "Button1"), { look: "pressed", source: "img\\bmp1-1.bmp" });
  await page.mouse.up();
  assert.deepEqual(await lookOf(page, "Button1"), { look: "hover", source: "img\\bmp1-3.bmp" });
  // Beside the window: what the button is named, and what it opens.
  const details = page.locator("#details");
  assert.match(await details.innerText(), /Install TEV – 3D Design/);
  assert.match(await details.innerText(), /ZENT\\TEV_setup\.exe/);
  await page.mouse.move(0, 0);
  assert.deepEqual(await lookOf(page, "Button1"), { look: "normal", source: "img\\bmp1-2.bmp" });
  await page.context().close();
});

// Drags button `id` by (dx, dy) page pixels and returns the Place line shown for it.
async function drag(page, id, dx, dy) {
  const box = await page.locator("#b-" + id).boundingBox();
  const x = box.x + box.width / 2, y = box.y + box.height / 2;
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.mouse.move(x + dx / 2, y + dy / 2, { steps: 4 });
  await page.mouse.move(x + dx, y + dy, { steps: 4 });
  await page.mouse.up();
  return page.locator('#places li[data-id="' + id + '"] .place').innerText();
}

test("dragging a button by (40, 10) moves it and its Place line by the same", async () => {
  const page = await open(writePage(demo));
  const before = await page.locator("#b-Button1").boundingBox();
  assert.equal(await drag(page, "Button1", 40, 10), "Place=136,210");
  const after = await page.locator("#b-Button1").boundingBox();
  assert.deepEqual([after.x - before.x, after.y - before.y], [40, 10]);
  // The line stays in the design's pixels at every scale.
  await setScale(page, 150);
  assert.equal(await page.locator('#places li[data-id="Button1"] .place').innerText(), "Place=136,210");
  await page.context().close();
});

test("a button dragged at 150 % lies where skincheck lays out its new Place line", async () => {
  const page = await open(writePage(demo));
  await setScale(page, 150);
  const line = await drag(page, "Button2", 61, -29);
  // 61 and -29 pixels at 150 % are 41 and -19 at 100 %, rounded.
  assert.equal(line, "Place=297,269");
  await page.getByLabel("Number the keyboard order").uncheck();
  await page.mouse.move(0, 0);
  const dragged = await page.locator("#window").screenshot();

  const edited = path.join(work, "edited");
  copyFolder(demo, edited);
  const ini = path.join(edited, "menu.ini");
  const text = fs.readFileSync(ini, "utf8").replace(/\[Button2\]\r?\n/, (s) => s + line + "\r\n");
  fs.writeFileSync(ini, text);
  const again = await open(writePage(edited));
  await setScale(again, 150);
  await again.getByLabel("Number the keyboard order").uncheck();
  await again.mouse.move(0, 0);
  const laid = await again.locator("#window").screenshot();
  assert.ok(dragged.equals(laid), "the dragged page and the page of the edited menu.ini look alike");
  assert.deepEqual(await page.locator("#b-Button2").boundingBox(), await again.locator("#b-Button2").boundingBox());
  await page.context().close();
  await again.context().close();
});

test("the computer chooser shows the installed, greyed and hidden buttons as the menu would", async () => {
  const disc = path.join(work, "conditions");
  copyFolder(demo, disc);
  fs.copyFileSync(path.join(disc, "img", "bmp1-2.bmp"), path.join(disc, "img", "bmp1-4.bmp"));
  const ini = path.join(disc, "menu.ini");
  const add = { Button1: "InstalledKey=HKLM\\Software\\Northwind\\TEV",
                Button2: "RequiresWindows=99", Button3: "InstalledFile=C:\\tev.exe\r\nWhenInstalled=hide" };
  let text = fs.readFileSync(ini, "utf8");
  for (const [section, lines] of Object.entries(add)) {
    text = text.replace(new RegExp("\\[" + section + "\\]\\r?\\n"), (s) => s + lines + "\r\n");
  }
  fs.writeFileSync(ini, text);
  const page = await open(writePage(disc));
  const computer = page.getByLabel("This computer");
  assert.deepEqual(await lookOf(page, "Button1"), { look: "normal", source: "img\\bmp1-2.bmp" });

  await computer.selectOption("installed");
  assert.deepEqual(await lookOf(page, "Button1"), { look: "installed", source: "img\\bmp1-4.bmp" });
  assert.equal(await page.locator("#b-Button3").count(), 0);
  assert.deepEqual(await lookOf(page, "Button2"), { look: "normal", source: "img\\bmp2-2.bmp" });
  await page.locator("#b-Button1").hover();
  assert.deepEqual(await lookOf(page, "Button1"), { look: "hover", source: "img\\bmp1-3.bmp" });

  await computer.selectOption("unavailable");
  assert.deepEqual(await lookOf(page, "Button2"), { look: "unavailable", source: "img\\bmp2-2.bmp (greyed)" });
  assert.equal(await page.locator("#b-Button2").getAttribute("aria-disabled"), "true");
  await page.locator("#b-Button2").hover();
  assert.equal((await lookOf(page, "Button2")).look, "unavailable");
  assert.equal(await page.locator("#b-Button3").count(), 1);
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test("a PNG skin's soft edge is kept half transparent over the checkerboard", async () => {
  const disc = path.join(work, "png");
  copyFolder(demo, disc);
  // The skin's top-left corner cut away with a blurred edge, as a drawing program exports it.
  execFileSync("convert", [path.join(disc, "img", "main.bmp"), "(", "+clone", "-alpha", "extract",
    "-draw", "fill black polygon 0,0 0,40 40,0", "-blur", "0x3", ")", "-alpha", "off",
    "-compose", "CopyOpacity", "-composite", "PNG32:" + path.join(disc, "img", "main.png")]);
  const index = writePage(disc);
  const page = await open(index);
  const skin = await page.evaluate(() => data.pictures.find((p) => p.file === document.getElementById("skin").getAttribute("src")));
  assert.equal(skin.source, "img\\main.png");
  const file = path.join(path.dirname(index), skin.file);
  const alpha = (x, y) => Number(execFileSync("convert", [file, "-format", "%[fx:p{" + x + "," + y + "}.a]", "info:"]));
  assert.equal(alpha(3, 3), 0);
  assert.ok(alpha(18, 18) > 0 && alpha(18, 18) < 1, "the edge's alpha " + alpha(18, 18));
  assert.equal(alpha(100, 100), 1);
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test("the language chooser shows the example disc's German pictures, names and skin", async () => {
  const page = await open(writePage(example));
  assert.deepEqual(await lookOf(page, "Button1"), { look: "normal", source: "img\\tev-2.bmp" });
  await page.getByLabel("Language").selectOption("de");
  await page.waitForFunction(() => [...document.images].every((i) => i.complete));
  assert.deepEqual(await lookOf(page, "Button1"), { look: "normal", source: "img\\de\\tev-2.bmp" });
  assert.deepEqual(await lookOf(page, "Button5"), { look: "normal", source: "img\\de\\kova-2.bmp" });
  const skin = await page.evaluate(() => data.pictures.find((p) => p.file === document.getElementById("skin").getAttribute("src")).source);
  assert.equal(skin, "img\\de\\skin.bmp");
  await page.getByRole("button", { name: "TEV installieren" }).hover();
  assert.deepEqual(await lookOf(page, "Button1"), { look: "hover", source: "img\\de\\tev-3.bmp" });
  assert.equal(await page.title(), "Menu preview: Beispiel-CD");
  // The hidden button is not there; the keyboard order skips it.
  assert.equal(await page.locator("#b-Button2").count(), 0);
  assert.deepEqual(await page.locator("#orders .order").allInnerTexts(), ["1", "2", "3", "4", "5", "6", "7"]);
  if (process.env.MENU_PREVIEW_SCREENSHOT) {
    await page.setViewportSize({ width: 1400, height: 900 });
    await page.getByRole("button", { name: "KOVA installieren" }).hover();
    await page.screenshot({ path: process.env.MENU_PREVIEW_SCREENSHOT });
  }
  await page.context().close();
});

test("buttons and choosers are named controls, and the keyboard goes round the buttons", async () => {
  const page = await open(writePage(demo));
  for (const name of ["Language", "Display scale"]) {
    assert.equal(await page.getByRole("combobox", { name }).count(), 1, name);
  }
  const d = await data(page);
  for (const b of d.views[0].buttons) {
    assert.equal(await page.getByRole("button", { name: b.label, exact: true }).count(), 1, b.label);
  }
  // In keyboard order, the arrows go round as in the menu, and the focused button looks lit.
  await page.getByRole("button", { name: "Install TEV – 3D Design" }).focus();
  await page.keyboard.press("ArrowLeft");
  assert.equal(await page.evaluate(() => document.activeElement.id), "b-Close");
  assert.equal((await lookOf(page, "Close")).look, "hover");
  await page.keyboard.press("ArrowRight");
  assert.equal(await page.evaluate(() => document.activeElement.id), "b-Button1");
  await page.keyboard.down("Space");
  assert.equal((await lookOf(page, "Button1")).look, "pressed");
  await page.keyboard.up("Space");
  // Shift with an arrow places the focused button a pixel further.
  await page.keyboard.press("Shift+ArrowDown");
  assert.equal(await page.locator('#places li[data-id="Button1"] .place').innerText(), "Place=96,201");
  // A finding leads to the button or file it concerns.
  const links = await page.locator("#findings a").evaluateAll((as) => as.map((a) => a.getAttribute("href")));
  for (const href of links) assert.equal(await page.locator(href).count(), 1, href);
  await page.context().close();
});

(async () => {
  browser = await chromium.launch({ executablePath: process.env.MENU_BROWSER, args: ["--no-sandbox", "--disable-dev-shm-usage"] });
  let passed = 0, failed = 0;
  for (const t of tests) {
    try {
      await t.body();
      passed++;
      console.log("ok   " + t.name);
    } catch (e) {
      failed++;
      console.log("FAIL " + t.name + "\n" + (e.stack || e));
    }
  }
  await browser.close();
  console.log("browser: " + passed + " passed, " + failed + " failed, 0 skipped");
  process.exit(failed ? 1 : 0);
})();
