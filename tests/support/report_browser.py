"""Opens a page in headless Chromium through chromium-driver (python3-selenium)
for the report's browser tests: a fresh profile, no network, nothing of a
user's browser read or changed."""
import shutil
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--window-size=1280,1600", "--autoplay-policy=no-user-gesture-required"]


def have_browser():
    return shutil.which("chromium") is not None and shutil.which("chromedriver") is not None


class Browser:
    """with Browser() as b: b.open(path); b.run("return 1")"""

    def __enter__(self):
        self.profile = tempfile.mkdtemp(prefix="report_browser_")
        options = webdriver.ChromeOptions()
        options.binary_location = shutil.which("chromium")
        for flag in FLAGS + ["--user-data-dir=" + self.profile]:
            options.add_argument(flag)
        self.driver = webdriver.Chrome(service=Service(shutil.which("chromedriver")),
                                       options=options)
        self.driver.set_script_timeout(30)
        return self

    def __exit__(self, *exc):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)

    def open(self, path):
        self.driver.get("file://" + path)

    def run(self, script, *args):
        return self.driver.execute_script(script, *args)

    def run_async(self, script, *args):
        """The script's last argument is the callback that gives its result."""
        return self.driver.execute_async_script(script, *args)
