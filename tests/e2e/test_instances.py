"""Two copies of the program at once: each has its own window, icon and
hooks, and one copy ending leaves the other's keys working."""

import unittest

from tavolin_e2e import TavolinTestCase, clipboard_text, key, wait_until

F8 = "119"


class Instances(TavolinTestCase):
    def test_a_copy_that_ends_leaves_the_other_copys_keys_working(self):
        first = self.start(rows=[("Taste", "Ausgabe:vom ersten", F8)], name="first")
        second = self.start(rows=[("Taste", "Ausgabe:vom zweiten", F8)], name="second")

        # The copy started last installed its hooks last, so it sees F8 first.
        key("F8")
        wait_until(lambda: clipboard_text() == "vom zweiten", what="the second copy's text")

        second.close_by_request()
        self.assertEndsWithZero(second)
        self.assertTrue(first.running())

        key("F8")
        wait_until(lambda: clipboard_text() == "vom ersten", what="the first copy's text")


if __name__ == "__main__":
    unittest.main()
