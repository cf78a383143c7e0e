// The status page: the job window's rows live over Server-Sent Events, the
// logs, error records, input folders and printers from the JSON API; start,
// stop, the printer check and the kept drawings with the token of
// TEMP/http-token.
"use strict";

const kMaxRows = 1000;
const kTokenKey = "orvella-token";
let runState = null;

function $(id) { return document.getElementById(id); }

function cell(row, text, className) {
  const td = row.insertCell();
  td.textContent = text;
  if (className) td.className = className;
  return td;
}

function icon(src) {
  const img = document.createElement("img");
  img.src = src;
  img.alt = "";
  img.width = 16;
  img.height = 16;
  return img;
}

const kTokenMessage = "トークンが正しくありません（プログラムフォルダの TEMP/http-token）。";

// The token as typed, kept for the tab's later loads.
function token() {
  const value = $("token").value.trim();
  sessionStorage.setItem(kTokenKey, value);
  return value;
}

// A kept drawing comes only with the token, which a plain link cannot send:
// it is fetched with it and handed to the browser as a download.
async function download(path, name) {
  const message = $("error-message");
  message.textContent = "";
  try {
    const response = await fetch(path, { cache: "no-store", headers: { "X-Orvella-Token": token() } });
    if (!response.ok) {
      message.textContent = response.status === 403 ? kTokenMessage : "ダウンロードできませんでした。";
      return;
    }
    const url = URL.createObjectURL(await response.blob());
    const save = document.createElement("a");
    save.href = url;
    save.download = name;
    document.body.append(save);
    save.click();
    save.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  } catch (e) {
    message.textContent = "ダウンロードできませんでした。";
  }
}

async function getJson(path) {
  const response = await fetch(path, { cache: "no-store" });
  if (!response.ok) throw new Error(path + ": " + response.status);
  return response.json();
}

// The run state with its icon; start and stop enabled as the tray enables them.
function showState(state) {
  runState = state.state;
  $("state-icon").src = state.icon;
  $("state-text").textContent = state.text;
  $("start").disabled = state.state !== 0;
  $("stop").disabled = state.state === 0 || state.state === 2;
}

function fillRow(tr, row) {
  tr.replaceChildren();
  tr.dataset.id = row.id;
  tr.className = row.mark_name;
  cell(tr, row.added);
  cell(tr, row.file, "file");
  cell(tr, row.folder);
  const status = cell(tr, "", "status");
  status.append(icon(row.icon), document.createTextNode(row.status));
  showDetail(status, row.detail);
}

// The cause behind a failure, on a line of its own under the message.
function showDetail(td, detail) {
  if (!detail) return;
  const line = document.createElement("div");
  line.className = "detail";
  line.textContent = detail;
  td.append(line);
}

function showRow(row) {
  const body = $("job-rows");
  let tr = body.querySelector('tr[data-id="' + row.id + '"]');
  if (!tr) {
    tr = document.createElement("tr");
    body.insertBefore(tr, body.firstChild);
    while (body.rows.length > kMaxRows) body.deleteRow(-1);
  }
  fillRow(tr, row);
  if (row.mark_name !== "in_progress") refreshSoon();
}

function showRows(rows) {
  const body = $("job-rows");
  body.replaceChildren();
  for (const row of rows) {
    const tr = body.insertRow();
    fillRow(tr, row);
  }
}

function listen() {
  const events = new EventSource("/api/events");
  events.addEventListener("snapshot", (e) => {
    const board = JSON.parse(e.data);
    showState(board.state);
    showRows(board.rows);
    $("connection").textContent = "";
  });
  events.addEventListener("row", (e) => showRow(JSON.parse(e.data)));
  events.addEventListener("state", (e) => {
    showState(JSON.parse(e.data));
    refreshSoon();
  });
  events.onerror = () => { $("connection").textContent = "サーバーに再接続しています…"; };
}

// Entries of the hot folders that the scan passes over (links, sub-folders,
// files that could not be removed…), each told once by the server.
async function loadPassedOver() {
  const notes = (await getJson("/api/jobs")).passed_over;
  const body = $("passed-over-rows");
  body.replaceChildren();
  for (const note of notes) {
    const tr = body.insertRow();
    cell(tr, note.time);
    cell(tr, note.path);
    cell(tr, note.message);
    cell(tr, note.reason);
  }
  $("passed-over-section").hidden = notes.length === 0;
}

// Logs and error records change when a job ends: read them again shortly after.
let refreshTimer = null;
function refreshSoon() {
  if (refreshTimer) return;
  refreshTimer = setTimeout(() => { refreshTimer = null; loadLogs(); loadErrors(); loadPassedOver().catch(() => {}); }, 500);
}

let shownDay = null;
async function loadLogs() {
  const list = await getJson("/api/logs");
  const days = $("log-days");
  days.replaceChildren();
  if (list.days.length === 0) {
    $("log-note").textContent = "ジョブログはありません。";
    return;
  }
  if (!shownDay || !list.days.some((d) => d.date === shownDay)) shownDay = list.days[0].date;
  for (const day of list.days) {
    const li = document.createElement("li");
    const show = document.createElement("button");
    show.type = "button";
    show.textContent = day.date.slice(0, 4) + "/" + day.date.slice(4, 6) + "/" + day.date.slice(6);
    if (day.date === shownDay) show.className = "current";
    show.onclick = () => { shownDay = day.date; loadLogs(); };
    const csv = document.createElement("a");
    csv.href = day.csv;
    csv.textContent = "CSV";
    csv.setAttribute("download", day.date + ".csv");
    li.append(show, " (", csv, ")");
    days.append(li);
  }
  await loadLog(shownDay);
}

async function loadLog(date) {
  const log = await getJson("/api/logs/" + date);
  const head = $("log-head");
  head.replaceChildren();
  const tr = head.insertRow();
  for (const title of log.header) {
    const th = document.createElement("th");
    th.textContent = title;
    tr.append(th);
  }
  const body = $("log-lines");
  body.replaceChildren();
  for (const line of log.lines.slice().reverse()) {
    const row = body.insertRow();
    for (const field of line) cell(row, field);
  }
  $("log-note").textContent = log.truncated ? "この日のログの末尾だけを表示しています。全体はCSVでご覧ください。" : "";
}

async function loadErrors() {
  const list = await getJson("/api/errors");
  const body = $("error-rows");
  body.replaceChildren();
  for (const record of list.records) {
    const row = body.insertRow();
    cell(row, record.written);
    cell(row, record.file);
    cell(row, record.folder);
    showDetail(cell(row, record.message), record.detail);
    const kept = row.insertCell();
    if (record.download) {
      const a = document.createElement("a");
      a.href = record.download;
      a.textContent = "ダウンロード";
      a.onclick = (e) => {
        e.preventDefault();
        download(record.download, record.file);
      };
      kept.append(a);
    }
  }
}

// A folder the scan cannot read stops nothing, so it is shown here.
async function loadFolders() {
  const list = await getJson("/api/folders");
  const body = $("folder-rows");
  body.replaceChildren();
  for (const folder of list.folders) {
    const row = body.insertRow();
    cell(row, folder.path);
    cell(row, folder.memo);
    const state = cell(row, folder.readable ? "読み込み可" : folder.message, folder.readable ? "fit" : "unfit");
    if (folder.detail) state.title = folder.detail;
  }
}

// The messages the check gave, as the system words them; an answer without a
// message (SNMP that found nothing wrong) is left out.
function checkText(result) {
  if (result.message) return result.message;
  const parts = [];
  if (result.snmp.message) parts.push("SNMP: " + result.snmp.message);
  parts.push("ステータス: " + result.stat.message);
  if (result.trays_message) parts.push("トレイ: " + result.trays_message);
  return parts.join(" / ");
}

function showCheck(td, result) {
  td.textContent = (result.fit ? "印刷可能　" : "印刷不可　") + checkText(result);
  td.className = result.fit ? "fit" : "unfit";
}

async function loadPrinters() {
  const list = await getJson("/api/printers");
  const body = $("printer-rows");
  body.replaceChildren();
  for (const printer of list.printers) {
    const row = body.insertRow();
    cell(row, printer.name);
    cell(row, printer.address);
    cell(row, printer.model);
    const button = document.createElement("button");
    button.type = "button";
    button.textContent = "チェック";
    row.insertCell().append(button);
    const result = row.insertCell();
    if (printer.last_check) showCheck(result, printer.last_check);
    button.onclick = async () => {
      button.disabled = true;
      result.className = "";
      result.textContent = "チェック中…";
      try {
        const response = await fetch("/api/printers/check", {
          method: "POST",
          headers: { "Content-Type": "application/json", "X-Orvella-Token": token() },
          body: JSON.stringify({ name: printer.name }),
        });
        const answer = await response.json();
        if (response.ok) showCheck(result, answer);
        else if (response.status === 403) result.textContent = kTokenMessage;
        else result.textContent = response.status === 409 ? "ほかのチェックが実行中です。" : "チェックできませんでした。";
      } catch (e) {
        result.textContent = "チェックできませんでした。";
      } finally {
        button.disabled = false;
      }
    };
  }
}

async function run(command) {
  const message = $("run-message");
  message.textContent = "";
  let response;
  try {
    response = await fetch("/api/" + command, { method: "POST", headers: { "X-Orvella-Token": token() } });
  } catch (e) {
    message.textContent = "サーバーに接続できません。";
    return;
  }
  const answer = await response.json().catch(() => ({}));
  if (response.status === 403) {
    message.textContent = kTokenMessage;
  } else if (response.status === 409) {
    message.textContent = "いまの状態では実行できません。";
  } else if (!response.ok) {
    message.textContent = "実行できませんでした。";
  } else {
    showState(answer);
    if (answer.messages && answer.messages.length) message.textContent = answer.messages.join("\n");
  }
}

async function showNetworkNote() {
  const state = await getJson("/api/state");
  if (runState === null) showState(state);
  const note = $("network-note");
  note.hidden = !state.network;
  note.textContent = "このページはネットワークから接続できます（" + state.address + "）。";
}

document.addEventListener("DOMContentLoaded", () => {
  $("token").value = sessionStorage.getItem(kTokenKey) || "";
  $("start").onclick = () => run("start");
  $("stop").onclick = () => run("stop");
  $("run").onsubmit = (e) => e.preventDefault();
  listen();
  showNetworkNote().catch(() => {});
  loadLogs().catch(() => {});
  loadErrors().catch(() => {});
  loadFolders().catch(() => {});
  loadPrinters().catch(() => {});
  loadPassedOver().catch(() => {});
  setInterval(() => {
    loadLogs().catch(() => {});
    loadErrors().catch(() => {});
    loadFolders().catch(() => {});
    loadPassedOver().catch(() => {});
  }, 30000);
});
