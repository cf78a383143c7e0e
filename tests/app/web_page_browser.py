#!/usr/bin/python3
"""The status page in headless Chromium, driven by Selenium.

  web_page_browser.py print URL SOURCE HOT DONE   moves SOURCE into the hot
      folder HOT once the page shows, then waits for its row to appear and
      its newest row to turn to DONE ("出力済(...)") without the page being
      loaded again.
  web_page_browser.py stop URL TOKEN         stops the system from the page
      with TOKEN and waits for "停止中".
  web_page_browser.py tokened URL TOKEN DIR  with TOKEN typed in, runs the
      first printer's check and downloads the first kept drawing into DIR;
      prints the check's result and the downloaded file's name.
  web_page_browser.py screenshot URL PNG TOKEN   saves the page as it is,
      after a printer check run with TOKEN.

Exit 0 when the page did what was asked, 1 when not (the reason on stderr).
"""
import shutil
import sys
from pathlib import Path

from selenium import webdriver
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

TIMEOUT = 60


def browser(width=1200, height=900, downloads=None):
    options = webdriver.ChromeOptions()
    if downloads:
        options.add_experimental_option("prefs", {"download.default_directory": downloads,
                                                  "download.prompt_for_download": False})
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                     "--lang=ja", f"--window-size={width},{height}"):
        options.add_argument(argument)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def text_of(driver, element_id):
    return driver.find_element(By.ID, element_id).text


def wait_for(driver, what, condition):
    try:
        return WebDriverWait(driver, TIMEOUT, poll_frequency=0.1).until(lambda d: condition(d))
    except TimeoutException:
        raise SystemExit(f"gave up waiting for {what}; state {text_of(driver, 'state-text')!r}, rows:\n"
                         + text_of(driver, "job-rows"))


def open_page(driver, url):
    driver.get(url)
    wait_for(driver, "稼動中", lambda d: text_of(d, "state-text") == "稼動中")
    # Gone if the page is loaded again: rows must come live.
    driver.execute_script("window.sameLoad = true;")


def newest_status(driver, file_name):
    # In one go in the page: rows are redrawn as events arrive.
    return driver.execute_script("""
        for (const row of document.querySelectorAll("#job-rows tr"))
          if (row.querySelector("td.file").textContent === arguments[0])
            return row.querySelector("td.status").textContent;
        return null;""", file_name)


def print_case(driver, url, source, hot, done):
    open_page(driver, url)
    name = Path(source).name
    if newest_status(driver, name) is not None:
        raise SystemExit(f"{name} has a row before it was dropped")
    shutil.move(source, Path(hot) / name)
    wait_for(driver, f"a row for {name}", lambda d: newest_status(d, name) is not None)
    wait_for(driver, f"{name} to turn to {done}", lambda d: newest_status(d, name) == done)
    if not driver.execute_script("return window.sameLoad === true;"):
        raise SystemExit("the page was loaded again")
    print(newest_status(driver, name))


def stop_case(driver, url, token):
    open_page(driver, url)
    driver.find_element(By.ID, "token").send_keys(token)
    driver.find_element(By.ID, "stop").click()
    wait_for(driver, "停止中", lambda d: text_of(d, "state-text") == "停止中")
    if not driver.find_element(By.ID, "stop").get_attribute("disabled"):
        raise SystemExit("稼動停止 is still enabled while stopped")
    if driver.find_element(By.ID, "start").get_attribute("disabled"):
        raise SystemExit("稼動開始 is disabled while stopped")
    print(text_of(driver, "state-text"))


def tokened_case(driver, url, token, downloads):
    open_page(driver, url)
    driver.find_element(By.ID, "token").send_keys(token)
    printer = driver.find_elements(By.CSS_SELECTOR, "#printer-rows tr")[0]
    printer.find_element(By.TAG_NAME, "button").click()
    result = printer.find_elements(By.TAG_NAME, "td")[-1]
    wait_for(driver, "the check", lambda d: result.text.startswith("印刷"))
    print(result.text.split("　")[0])
    wait_for(driver, "a kept drawing", lambda d: d.find_elements(By.CSS_SELECTOR, "#error-rows a"))
    driver.find_element(By.CSS_SELECTOR, "#error-rows a").click()
    folder = Path(downloads)

    # The browser writes a download under names of its own (".crdownload", and
    # hidden temporary files) before it gives it its name.
    def downloaded(_):
        return [f for f in folder.iterdir() if not f.name.endswith(".crdownload") and not f.name.startswith(".")]

    print(wait_for(driver, "the download", downloaded)[0].name)


def screenshot_case(driver, url, png, token):
    driver.get(url)
    driver.find_element(By.ID, "token").send_keys(token)
    wait_for(driver, "a row", lambda d: d.find_elements(By.CSS_SELECTOR, "#job-rows tr"))
    wait_for(driver, "the printers", lambda d: d.find_elements(By.CSS_SELECTOR, "#printer-rows tr"))
    # The last printer's check, with its result beside it.
    printer = driver.find_elements(By.CSS_SELECTOR, "#printer-rows tr")[-1]
    printer.find_element(By.TAG_NAME, "button").click()
    result = printer.find_elements(By.TAG_NAME, "td")[-1]
    wait_for(driver, "the check", lambda d: result.text.startswith("印刷"))
    # The whole page: the window is as tall as the page plus the browser's own frame.
    height, frame = driver.execute_script(
        "return [document.documentElement.scrollHeight, window.outerHeight - window.innerHeight];")
    driver.set_window_size(1200, min(height, 2400) + frame)
    driver.save_screenshot(png)


def main(argv):
    cases = {"print": (print_case, 4), "stop": (stop_case, 2), "tokened": (tokened_case, 3),
             "screenshot": (screenshot_case, 3)}
    if len(argv) < 2 or argv[1] not in cases or len(argv) - 2 != cases[argv[1]][1]:
        print(__doc__, file=sys.stderr)
        return 2
    driver = browser(downloads=argv[4] if argv[1] == "tokened" else None)
    try:
        cases[argv[1]][0](driver, *argv[2:])
    finally:
        driver.quit()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
