"""End-to-end tests of a disc's menu.ini: what a button starts, with which arguments, in which
folder and how it is shown, as the started programs record it; a menu that stays after a start,
also after one that failed; a document opened by the shell; broken files reported with their
line.

run.py loads these tests."""

import ntpath
import os
import shutil

from harness import MenuCase, run, wait_for, window_pid, windows_path


class SettingsCase(MenuCase):
    INSTALLER_LINGER_MS = 3000

    def write_ini(self, text):
        with open(os.path.join(self.dist.path, "menu.ini"), "w", encoding="utf-8",
                  newline="\r\n") as f:
            f.write(text)

    def start_menu(self):
        """Starts the menu with the installers' log and waits for button 1's normal look."""
        self.start_window(env=self.env)
        self.menu.wait_shown(self.looks(0, "-2"), "the normal pictures")


class DiscSettings(SettingsCase):
    def test_a_program_in_a_folder_with_spaces_gets_its_arguments_apart_and_shows_normally(self):
        tools = os.path.join(self.dist.path, "Tools and more")
        os.makedirs(tools)
        shutil.copy(os.path.join(self.dist.path, "ZENT", "MOLAN_setup.exe"),
                    os.path.join(tools, "setup app.exe"))
        self.write_ini("[Button2]\nOpen=Tools and more\\setup app.exe\n"
                       "Arguments=--mode \"a b\" /x\nShow=normal\n")
        self.start_menu()
        self.click(1)
        self.assertEqual(self.menu.wait_exit(), 0)
        record = wait_for(lambda: self.started(), "the program's record")[0]
        folder = windows_path(tools)
        self.assertEqual(record["path"].lower(), (folder + "\\setup app.exe").lower())
        self.assertEqual(record["cwd"].rstrip("\\").lower(), folder.lower())
        self.assertTrue(record["cmdline"].endswith(' --mode "a b" /x'), record["cmdline"])
        self.assertEqual(record["show"], "1", "SW_SHOWNORMAL")

    def test_after_a_start_the_menu_may_stay_and_go_on_working(self):
        self.write_ini("[Button1]\nAfterStart=stay\n")
        self.start_menu()
        self.click(0)
        wait_for(lambda: self.started(), "the installer's record")
        self.assertTrue(self.menu.alive())
        self.menu.move(2, 2)
        self.click(3)  # another button lights up and starts its own installer
        self.assertEqual(self.menu.wait_exit(), 0)
        # The second installer may write its record after the menu has ended.
        records = wait_for(lambda: len(self.started()) >= 2 and self.started(), "two records")
        names = [ntpath.basename(r["path"]).lower() for r in records]
        self.assertEqual(names, ["tev_setup.exe", "dasef_setup.exe"])

    def test_a_failed_start_on_a_button_that_stays_leaves_the_menu_working(self):
        self.write_ini("[Menu]\nTitle=Example Suite\n"
                       "[Button2]\nOpen=docs\\Manual.pdf\nAfterStart=stay\n")
        self.start_menu()
        self.click(1)
        box = self.menu.wait_dialog()[0]
        self.assertEqual(box[0], "Example Suite", "the box is titled with the menu's Title")
        self.assertIn("'53'", " ".join(box[1:]))
        self.assertIn("Manual.pdf", " ".join(box[1:]))
        self.menu.answer_dialogs()
        wait_for(lambda: not self.menu.dialogs(), "the box to close")
        self.assertTrue(self.menu.alive())
        self.menu.move(2, 2)
        self.click(3)  # the menu still answers: another button starts its installer and closes
        self.assertEqual(self.menu.wait_exit(), 0)
        record = wait_for(lambda: self.started(), "the installer's record")[0]
        self.assertTrue(record["path"].lower().endswith("dasef_setup.exe"), record["path"])

    def test_a_failed_start_on_a_button_that_closes_ends_the_menu_after_the_box(self):
        self.write_ini("[Menu]\nTitle=Example Suite\n[Button3]\nOpen=docs\\Guide.pdf\n")
        self.start_menu()
        self.click(2)
        box = self.menu.wait_dialog()[0]
        self.assertEqual(box[0], "Example Suite")
        self.assertIn("'53'", " ".join(box[1:]))
        self.menu.answer_dialogs()
        self.assertEqual(self.menu.wait_exit(), 53)

    def test_a_document_opens_in_the_program_the_shell_has_for_it(self):
        # A fresh Wine prefix knows notepad as the program of text files, but has no .txt entry
        # pointing at it, as Windows has.
        run(["wine", "reg", "add", "HKCR\\.txt", "/ve", "/d", "txtfile", "/f"])
        with open(os.path.join(self.dist.path, "readme.txt"), "w") as f:
            f.write("Read me first.\n")
        self.write_ini("[Close]\nOpen=readme.txt\nShow=normal\n")
        self.start_menu()
        self.click(14)
        self.assertEqual(self.menu.wait_exit(), 0)
        windows = wait_for(lambda: run(["xdotool", "search", "--name", "readme"],
                                       check=False).split(), "Wine's notepad showing readme.txt")
        for window in windows:
            pid = window_pid(window)
            if pid is not None:
                self.end_later(pid)

    def test_a_reader_hears_the_title_and_the_label_in_the_users_language(self):
        self.write_ini("[Menu]\nTitle=Demo\nTitle[de]=Vorf\u00fchrung\n"
                       "[Button1]\nLabel=Install TEV\nLabel[de]=TEV installieren\n"
                       "[Button2]\nLabel=Install MOLAN\n")
        self.env.update({"LANG": "de_DE.UTF-8", "LC_ALL": "de_DE.UTF-8"})
        self.start_menu()
        lines = self.menu.accessible("describe")
        children = [line for line in lines if line["line"] == "child"]
        self.assertEqual(lines[0]["name"], "Vorf\u00fchrung")
        self.assertEqual([c["name"] for c in children[:2]], ["TEV installieren", "Install MOLAN"])
        # Without a label of its own a button keeps the built-in name.
        self.assertEqual(children[2]["name"], "Install PIRUK \u2013 Photo Editor")

    def test_open64_is_taken_on_64_bit_windows_only(self):
        # The prefix is 32-bit where the machine runs 32-bit programs, else 64-bit.
        self.write_ini("[Button3]\nOpen=ZENT\\PIRUK_setup.exe\nOpen64=ZENT\\DASEF_setup.exe\n")
        self.start_menu()
        self.click(2)
        self.assertEqual(self.menu.wait_exit(), 0)
        record = wait_for(lambda: self.started(), "the installer's record")[0]
        expected = "dasef_setup.exe" if os.environ.get("WINEARCH") == "win64" else "piruk_setup.exe"
        self.assertTrue(record["path"].lower().endswith(expected), record["path"])

    def test_broken_files_end_the_menu_with_the_line_and_the_reason(self):
        cases = [("[Menu]\nTitle=Demo\n[Button1]\nShow=tiny\n", "Line 4"),
                 ("; demo\n[Buton1]\n", "Line 2"),
                 ("[Button2]\nOpen=\n", "Line 2")]
        path = windows_path(os.path.join(self.dist.path, "menu.ini"))
        for text, line in cases:
            self.write_ini(text)
            self.start(env=self.env)
            box = self.menu.wait_dialog()[0]
            message = " ".join(box[1:])
            self.assertIn(path, message)
            self.assertIn(line + ":", message)
            self.assertIn("'5'", message)
            self.menu.answer_dialogs()
            self.assertEqual(self.menu.wait_exit(), 5)
            self.assertIsNone(self.menu.main_window(), "no window before the error")
        self.assertEqual(self.started(), [])


def load_tests(loader, tests, pattern):
    return loader.loadTestsFromTestCase(DiscSettings)
