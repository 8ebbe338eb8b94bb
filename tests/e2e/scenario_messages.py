def run_modal(r): pass
def run_modeless(r): pass
