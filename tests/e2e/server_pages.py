"""Reading the service's pages the way the calendar counts them, for the
service's end-to-end tests."""
import urllib.parse
import urllib.request

MARKER = "fs_30 tpte"


def get(url, headers=None, timeout=30):
    """(status, headers, body bytes) of a GET; error statuses included."""
    request = urllib.request.Request(url, headers=headers or {})
    try:
        with urllib.request.urlopen(request, timeout=timeout) as answer:
            return answer.status, dict(answer.headers), answer.read()
    except urllib.error.HTTPError as error:
        return error.code, dict(error.headers), error.read()


def city_query(city):
    """The calendar's way of asking: the city in GBK, percent-encoded."""
    return "/search.php?city=" + urllib.parse.quote(city.encode("gbk"))


def weather_runs(page):
    """Runs 1, 5, 8 and 10 after the marker, or None without it."""
    at = page.find(MARKER)
    if at < 0:
        return None
    runs, p = {}, at
    for k in range(1, 11):
        p = page.find(">", p + 1)
        if p < 0:
            break
        q = page.find("<", p + 1)
        if q >= 0 and k in (1, 5, 8, 10):
            runs[k] = page[p + 1:q]
    return runs


def weather(base, city):
    """The calendar's labels for the service's page of `city`, or None."""
    status, _, body = get(base + city_query(city))
    runs = weather_runs(body.decode("gbk")) if status == 200 else None
    if runs is None:
        return None
    return {"Label8": runs[1], "Label9": runs[8], "Label10": runs[10], "Label13": f"{runs[1]}-{runs[5]}"}
